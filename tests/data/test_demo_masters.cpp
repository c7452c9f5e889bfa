#include "data/DemoMasters.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <cmath>

// The demo masters are loaded into an in-memory database whose keys are those the register looks rows up by,
// so a duplicate key or a statement the database cannot read fails the load.
class TestDemoMasters : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void rowCounts();
    void producersFitTheEditor();
    void noQuoteWhereStatementsCopyIt();
    void barcodesAreValidAndResolve();
    void etoNamesFollowTheDayNumber();
    void everyDayHasOneFlower();
    void inStoreSamplesDecodeAndDoNotCollide();

private:
    QSqlDatabase db() const { return QSqlDatabase::database(QStringLiteral("demo_masters")); }
    QVariant scalar(const QString &sql) const;
    static bool eanValid(const QString &code);
};

void TestDemoMasters::initTestCase()
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("demo_masters"));
    database.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(database.open());

    const QStringList schema = {
        "CREATE TABLE M_FMR (FMR_ID INTEGER PRIMARY KEY, FMR_NM TEXT, ADRS TEXT, TEL_NO_L TEXT, TEL_NO_S TEXT, "
        "NOTES TEXT, BANK_NM TEXT, BR_NM TEXT, ACC_KBN TEXT, ACC_NO TEXT, ACC_NM TEXT, FEE_1 NUMERIC, FEE_2 NUMERIC)",
        "CREATE TABLE M_PRD (PRD_ID INTEGER PRIMARY KEY, PRD_NM TEXT)",
        "CREATE TABLE M_PRD_BCD (BCD TEXT PRIMARY KEY, PRD_ID INTEGER, FMR_ID INTEGER, BCD_NM TEXT, PRC NUMERIC, "
        "UNIT_ID INTEGER)",
        "CREATE TABLE L_ETO (ID INTEGER PRIMARY KEY, ETO_YM TEXT)",
        "CREATE TABLE L_FWD (MD INTEGER PRIMARY KEY, NM TEXT, WD1 TEXT, WD2 TEXT, WD3 TEXT, WD4 TEXT, WD5 TEXT, "
        "WD6 TEXT, WD7 TEXT, WD8 TEXT, WD9 TEXT)",
    };
    QSqlQuery query(database);
    for (const QString &sql : schema)
        QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));

    const QStringList inserts = DemoMasters::masterInserts();
    QVERIFY(database.transaction());
    for (const QString &sql : inserts) {
        QVERIFY2(query.exec(sql), qPrintable(sql + QLatin1String(": ") + query.lastError().text()));
        QCOMPARE(query.numRowsAffected(), 1);
    }
    QVERIFY(database.commit());
    QCOMPARE(DemoMasters::masterInserts(), inserts); // no randomness between calls
}

void TestDemoMasters::cleanupTestCase()
{
    QSqlDatabase::database(QStringLiteral("demo_masters")).close();
    QSqlDatabase::removeDatabase(QStringLiteral("demo_masters"));
}

QVariant TestDemoMasters::scalar(const QString &sql) const
{
    QSqlQuery query(db());
    if (!query.exec(sql) || !query.next())
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return query.value(0);
}

// The weighted sum of all thirteen digits, the check digit included, is a multiple of ten.
bool TestDemoMasters::eanValid(const QString &code)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{13}$"));
    if (!digits.match(code).hasMatch())
        return false;
    int sum = 0;
    for (int i = 0; i < 13; ++i)
        sum += code.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
    return sum % 10 == 0;
}

void TestDemoMasters::rowCounts()
{
    QCOMPARE(scalar("SELECT COUNT(*) FROM M_FMR").toInt(), 30);
    QCOMPARE(scalar("SELECT COUNT(*) FROM M_PRD").toInt(), 100);
    QCOMPARE(scalar("SELECT COUNT(*) FROM M_PRD_BCD").toInt(), 300);
    QCOMPARE(scalar("SELECT COUNT(*) FROM L_ETO").toInt(), 60);
    QCOMPARE(scalar("SELECT COUNT(*) FROM L_FWD").toInt(), 366);
    // In-store codes carry the product in three digits and the producer in four.
    QVERIFY(scalar("SELECT MAX(PRD_ID) FROM M_PRD").toInt() <= 999);
    QVERIFY(scalar("SELECT MIN(FMR_ID) FROM M_FMR").toInt() >= 1);
    QVERIFY(scalar("SELECT MAX(FMR_ID) FROM M_FMR").toInt() <= 9999);
}

void TestDemoMasters::producersFitTheEditor()
{
    QSqlQuery query(db());
    QVERIFY(query.exec("SELECT FMR_ID, FMR_NM, ADRS, TEL_NO_L, TEL_NO_S, NOTES, BANK_NM, BR_NM, ACC_KBN, ACC_NO, "
                       "ACC_NM, FEE_1, FEE_2 FROM M_FMR"));
    // Longest input of each editor box, in column order.
    const int limits[] = {0, 50, 50, 15, 15, 50, 50, 50, 50, 10, 50};
    static const QRegularExpression accountNo(QStringLiteral("^[0-9]{7}$"));
    static const QRegularExpression accountName(QStringLiteral("^[\\x{FF61}-\\x{FF9F} ()]+$"));
    int withoutFees = 0;
    while (query.next()) {
        const QString id = query.value(0).toString();
        for (int column = 1; column <= 10; ++column)
            QVERIFY2(query.value(column).toString().size() <= limits[column], qPrintable(id));
        QVERIFY2(!query.value(1).toString().isEmpty(), qPrintable(id));
        if (!query.value(9).isNull())
            QVERIFY2(accountNo.match(query.value(9).toString()).hasMatch(), qPrintable(id));
        if (!query.value(8).isNull())
            QVERIFY2(QStringList({"普通", "当座"}).contains(query.value(8).toString()), qPrintable(id));
        // Account holders go to the bank in half-width katakana.
        if (!query.value(10).isNull())
            QVERIFY2(accountName.match(query.value(10).toString()).hasMatch(), qPrintable(id));
        for (int column : {11, 12}) {
            if (query.value(column).isNull())
                continue;
            QVERIFY2(query.value(column).toInt() > 0 && query.value(column).toInt() <= 9999, qPrintable(id));
        }
        if (query.value(11).isNull() && query.value(12).isNull())
            ++withoutFees;
    }
    QVERIFY(withoutFees >= 1 && withoutFees <= 3);
    // The doubled quotes come back single.
    QCOMPARE(scalar("SELECT NOTES FROM M_FMR WHERE FMR_ID = 27").toString(),
             QStringLiteral("O'Brien's Berry Farm（英語可）"));
}

void TestDemoMasters::noQuoteWhereStatementsCopyIt()
{
    // Sale registration and the payment closing put these values into SQL text without doubling quotes.
    const char *const columns[] = {
        "SELECT COUNT(*) FROM M_FMR WHERE FMR_NM || ' ' || COALESCE(BANK_NM, '') || COALESCE(BR_NM, '') || "
        "COALESCE(ACC_KBN, '') || COALESCE(ACC_NO, '') || COALESCE(ACC_NM, '') LIKE '%''%'",
        "SELECT COUNT(*) FROM M_PRD WHERE PRD_NM LIKE '%''%'",
        "SELECT COUNT(*) FROM M_PRD_BCD WHERE BCD_NM LIKE '%''%'",
    };
    for (const char *sql : columns)
        QCOMPARE(scalar(sql).toInt(), 0);
}

void TestDemoMasters::barcodesAreValidAndResolve()
{
    QSqlQuery query(db());
    QVERIFY(query.exec("SELECT B.BCD, B.PRC, B.UNIT_ID, B.BCD_NM, P.PRD_ID, F.FMR_ID FROM M_PRD_BCD B "
                       "LEFT JOIN M_PRD P ON P.PRD_ID = B.PRD_ID LEFT JOIN M_FMR F ON F.FMR_ID = B.FMR_ID"));
    int jan = 0;
    int shop = 0;
    while (query.next()) {
        const QString code = query.value(0).toString();
        QVERIFY2(eanValid(code), qPrintable(code));
        if (code.startsWith("45") || code.startsWith("49"))
            ++jan;
        else if (code.startsWith('2'))
            ++shop;
        else
            QFAIL(qPrintable("unexpected prefix: " + code));
        const double price = query.value(1).toDouble();
        QVERIFY2(price >= 100 && price < 10000 && price == std::floor(price), qPrintable(code));
        QVERIFY2(query.value(2).toInt() >= 1 && query.value(2).toInt() <= 5, qPrintable(code));
        QVERIFY2(!query.value(3).toString().isEmpty(), qPrintable(code));
        QVERIFY2(!query.value(4).isNull(), qPrintable("unknown product: " + code));
        QVERIFY2(!query.value(5).isNull(), qPrintable("unknown producer: " + code));
    }
    QCOMPARE(jan, 200);
    QCOMPARE(shop, 100);
    // Every product can be scanned from the master.
    QCOMPARE(scalar("SELECT COUNT(*) FROM M_PRD WHERE PRD_ID NOT IN (SELECT PRD_ID FROM M_PRD_BCD)").toInt(), 0);
}

void TestDemoMasters::etoNamesFollowTheDayNumber()
{
    QCOMPARE(scalar("SELECT ETO_YM FROM L_ETO WHERE ID=60").toString(), QStringLiteral("甲子"));
    QCOMPARE(scalar("SELECT ETO_YM FROM L_ETO WHERE ID=1").toString(), QStringLiteral("乙丑"));
    QCOMPARE(scalar("SELECT ETO_YM FROM L_ETO WHERE ID=54").toString(), QStringLiteral("戊午")); // 2000-01-01
    QCOMPARE(scalar("SELECT ETO_YM FROM L_ETO WHERE ID=59").toString(), QStringLiteral("癸亥"));
    QCOMPARE(scalar("SELECT ETO_YM FROM L_ETO WHERE ID=10").toString(), QStringLiteral("甲戌"));
    QCOMPARE(scalar("SELECT COUNT(DISTINCT ETO_YM) FROM L_ETO").toInt(), 60);
    QCOMPARE(scalar("SELECT MIN(ID) || '-' || MAX(ID) FROM L_ETO").toString(), QStringLiteral("1-60"));
}

void TestDemoMasters::everyDayHasOneFlower()
{
    // A leap year gives every month and day the table must answer, 29 February included.
    for (QDate day(2000, 1, 1); day.year() == 2000; day = day.addDays(1)) {
        const int md = day.month() * 100 + day.day();
        QSqlQuery query(db());
        QVERIFY(query.exec(QStringLiteral("SELECT NM, WD1, WD2, WD3, WD4, WD5, WD6, WD7, WD8, WD9 FROM L_FWD "
                                          "WHERE MD=%1").arg(md)));
        QVERIFY2(query.next(), qPrintable(QString::number(md)));
        QVERIFY2(!query.value(0).toString().isEmpty(), qPrintable(QString::number(md)));
        int words = 0;
        for (int column = 1; column <= 9; ++column) {
            if (query.value(column).isNull())
                continue;
            QVERIFY2(!query.value(column).toString().isEmpty(), qPrintable(QString::number(md)));
            ++words;
        }
        if (md == 229)
            QCOMPARE(words, 0); // a flower without words, which the day information must cope with
        else
            QVERIFY2(words >= 1 && words <= 4, qPrintable(QString::number(md)));
        QVERIFY(!query.next());
    }
    // The draw among the word columns has to skip Null columns before a word.
    QVERIFY(scalar("SELECT COUNT(*) FROM L_FWD WHERE WD1 IS NULL AND WD2 IS NOT NULL").toInt() > 0);
}

void TestDemoMasters::inStoreSamplesDecodeAndDoNotCollide()
{
    const QStringList codes = DemoMasters::inStoreSampleCodes();
    QVERIFY(codes.size() >= 15);
    QCOMPARE(QSet<QString>(codes.begin(), codes.end()).size(), codes.size());
    for (const QString &code : codes) {
        QVERIFY2(eanValid(code), qPrintable(code)); // labels must pass the scanner's own check
        QCOMPARE(scalar("SELECT COUNT(*) FROM M_PRD_BCD WHERE BCD='" + code + "'").toInt(), 0);
        // Decoded as the register does: the digit groups become criteria without quotes.
        QCOMPARE(scalar("SELECT COUNT(*) FROM M_PRD WHERE PRD_ID=" + code.mid(0, 3)).toInt(), 1);
        QCOMPARE(scalar("SELECT COUNT(*) FROM M_FMR WHERE FMR_ID=" + code.mid(3, 4)).toInt(), 1);
        QVERIFY2(code.mid(7, 4).toInt() > 0, qPrintable(code));
    }
    QVERIFY(codes.contains(QStringLiteral("0010001002507"))); // トマト of producer 1 at 250 yen
}

QTEST_GUILESS_MAIN(TestDemoMasters)
#include "test_demo_masters.moc"
