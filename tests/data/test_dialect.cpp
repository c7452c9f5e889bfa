// The register's SQL as each engine receives it.
#include "base/Currency.h"
#include "data/DbError.h"
#include "data/Sql.h"
#include "data/SqlDialect.h"
#include "data/clsData.h"

#include <QTest>

class TestDialect : public QObject
{
    Q_OBJECT

private slots:
    void renderingNamedArgumentsAndLiterals();
};

void TestDialect::renderingNamedArgumentsAndLiterals()
{
    const SqliteDialect sqlite;
    const MariaDbDialect maria;
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM D_ADJ WHERE SALES_DATE=#2024-04-01 00:00:00# OR SALES_DATE>=#2024/4/2#");
    const QString expected = QStringLiteral("SELECT COUNT(*) FROM D_ADJ WHERE SALES_DATE='2024-04-01 00:00:00' OR SALES_DATE>='2024-04-02 00:00:00'");
    QCOMPARE(sqlite.render(sql), expected);
    QCOMPARE(maria.render(sql), expected);
    // A "#" that opens no date would comment out the rest of the statement on the server: refused.
    QVERIFY_THROWS_EXCEPTION(DbError, maria.render(QStringLiteral("SELECT 1 # comment")));
    QVERIFY_THROWS_EXCEPTION(DbError, maria.render(QStringLiteral("SELECT 1 WHERE A=#2024-02-30#")));

    const QString quoted = QStringLiteral("UPDATE M_FMR SET NOTES='O''Brien #1# *x*' WHERE FMR_ID=3");
    QCOMPARE(maria.render(quoted), quoted);
    QCOMPARE(sqlite.render(quoted), quoted);
    // Beyond ASCII the server gets the UTF-8 bytes, quotes included, as a hex text.
    QCOMPARE(maria.render(QStringLiteral("SELECT 1 FROM M_PRD WHERE PRD_NM='茶''s' AND X='a'")),
             QStringLiteral("SELECT 1 FROM M_PRD WHERE PRD_NM=_utf8mb4 X'E88CB62773' AND X='a'"));
    QCOMPARE(sqlite.render(QStringLiteral("SELECT '茶'")), QStringLiteral("SELECT '茶'"));
    // Wildcards change only in a LIKE pattern, in statements and in the criteria of domain functions.
    QCOMPARE(sqlite.render(QStringLiteral("SELECT * FROM M_PRD WHERE PRD_NM LIKE '*トマト?' AND X='a*b'")),
             QStringLiteral("SELECT * FROM M_PRD WHERE PRD_NM LIKE '%トマト_' AND X='a*b'"));
    QCOMPARE(sqlite.render(QStringLiteral("SELECT 2*3 FROM T")), QStringLiteral("SELECT 2*3 FROM T"));
    const QString criteria = QStringLiteral("NM LIKE '*abc*' AND X='a*b'");
    QCOMPARE(clsData::TranslateCriteria(criteria, QStringLiteral("ACCESS")), criteria);
    QCOMPARE(clsData::TranslateCriteria(criteria, QStringLiteral("MYSQL")), QStringLiteral("NM LIKE '%abc%' AND X='a*b'"));
    QCOMPARE(clsData::TranslateCriteria(criteria, QString()), QStringLiteral("NM LIKE '%abc%' AND X='a*b'"));

    // SQLite deletes from one table only: through a join the rows are chosen by rowid. The server keeps them.
    const struct { const char *jet, *sqlite; } cases[] = {
        {"DELETE D_ADJ.* FROM D_ADJ WHERE D_ADJ.SALES_DATE=#2024/04/01#",
         "DELETE FROM D_ADJ WHERE D_ADJ.SALES_DATE='2024-04-01 00:00:00'"},
        {"DELETE * FROM S_CTRL", "DELETE FROM S_CTRL"},
        {"DELETE D_REG_DTL.* FROM D_REG_DTL  LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID WHERE D_REG.SALES_DATE=#2024-04-01#",
         "DELETE FROM D_REG_DTL WHERE rowid IN (SELECT D_REG_DTL.rowid FROM D_REG_DTL LEFT JOIN D_REG ON "
         "D_REG_DTL.REG_ID=D_REG.REG_ID WHERE D_REG.SALES_DATE='2024-04-01 00:00:00')"},
        {"DELETE FROM D_REG WHERE REG_ID=1", "DELETE FROM D_REG WHERE REG_ID=1"},
    };
    for (const auto &c : cases)
        QCOMPARE(sqlite.render(QString::fromLatin1(c.jet)), QString::fromLatin1(c.sqlite));
    QCOMPARE(maria.render(QStringLiteral("DELETE B_REG.* FROM B_REG  WHERE B_REG.SALES_DATE=#2024/04/01#")),
             QStringLiteral("DELETE B_REG.* FROM B_REG  WHERE B_REG.SALES_DATE='2024-04-01 00:00:00'"));

    // The dialect's literals: quotes doubled, money without trailing zeros, a day's moment with its time.
    const QString update = Sql(R"(UPDATE D_ADJ_DTL SET CLS_DATE=:cls, NM=:nm, AMT=:amt
WHERE SALES_DATE<=:cls AND NOTE=':cls' AND T=#2024/4/1# AND FMR_ID=:fmr)")
                            .date(QStringLiteral("cls"), 45383.5)
                            .text(QStringLiteral("nm"), QStringLiteral("O'Brien :fmr"))
                            .money(QStringLiteral("amt"), *Currency::parse(QStringLiteral("1852.50")))
                            .number(QStringLiteral("fmr"), 7);
    QCOMPARE(update, QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=#2024-04-01 12:00:00#, NM='O''Brien :fmr', AMT=1852.5\n"
                                 "WHERE SALES_DATE<=#2024-04-01 12:00:00# AND NOTE=':cls' AND T=#2024/4/1# AND FMR_ID=7"));
    QCOMPARE(Sql(QStringLiteral("VALUES(:d, :n)")).day(QStringLiteral("d"), 45383).text(QStringLiteral("n"), QString()).str(),
             QStringLiteral("VALUES(#2024/04/01#, NULL)"));
    // A name without an argument, or an argument without its name, is a mistake caught before the database.
    QVERIFY_THROWS_EXCEPTION(DbError, Sql(QStringLiteral("WHERE A=:a AND B=:b")).number(QStringLiteral("a"), 1).str());
    QVERIFY_THROWS_EXCEPTION(DbError, Sql(QStringLiteral("WHERE A=:a")).number(QStringLiteral("a"), 1)
                                          .number(QStringLiteral("c"), 2).str());
}

QTEST_GUILESS_MAIN(TestDialect)
#include "test_dialect.moc"
