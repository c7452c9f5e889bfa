// A program folder as vantle-admin makes it, opened the way the register opens it, and the demo masters in it.
#include "app/InitObj.h"
#include "data/DbError.h"
#include "data/DemoMasters.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/Schema.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

class TestProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void demoFolderOpensThroughTheSettings();
    void schemaAndUpgrade();
};

namespace {

// vantle-admin's exit code; what it wrote to standard output and error goes to `out`.
int admin(const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start(qEnvironmentVariable("VANTLE_ADMIN"), args);
    p.waitForFinished(60000);
    if (out)
        *out = p.readAllStandardOutput() + p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QString first(const QString &sql)
{
    Recordset rs = gMst->GetFwdOnlyRst(sql);
    return rs.EOF_() ? QStringLiteral("<none>") : rs.Fields(0).toString();
}

// A label the scanner takes: the weighted sum of all thirteen digits, check digit included, ends in 0.
bool eanValid(const QString &code)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{13}$"));
    int sum = 0;
    for (int i = 0; i < code.size(); ++i)
        sum += code.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
    return digits.match(code).hasMatch() && sum % 10 == 0;
}

} // namespace

void TestProgramFolder::demoFolderOpensThroughTheSettings()
{
    TestProgram program;
    const QString folder = program.path(QStringLiteral("shop"));
    QCOMPARE(admin({QStringLiteral("init"), folder, QStringLiteral("--demo")}), 0);
    qputenv("VANTLE_HOME", folder.toUtf8());
    InitObj();
    QVERIFY(program.messages().shown().isEmpty());
    QCOMPARE(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).toString(), QStringLiteral("0"));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("TAX_RT")).toString(), QStringLiteral("0.08"));
    QVERIFY(QDir(folder).exists(QStringLiteral("backup")));
    // A second init is refused and leaves the folder as it was.
    const QDateTime made = QFileInfo(gIni->DB_NAME()).lastModified();
    QByteArray err;
    QCOMPARE(admin({QStringLiteral("init"), folder}, &err), 1);
    QVERIFY(!err.isEmpty() && QFileInfo(gIni->DB_NAME()).lastModified() == made);
    QVERIFY(admin({QStringLiteral("init")}) != 0);

    // The demo masters: every key unique (the load would have failed), every code scannable and resolved,
    // texts that fit the editors, sixty zodiac names and a flower for every day.
    QCOMPARE(first("SELECT COUNT(*) || ' ' || (SELECT COUNT(*) FROM M_PRD) || ' ' || (SELECT COUNT(*) FROM M_PRD_BCD) "
                   "|| ' ' || (SELECT COUNT(*) FROM L_ETO) || ' ' || (SELECT COUNT(*) FROM L_FWD) FROM M_FMR"),
             QStringLiteral("30 100 300 60 366"));
    QCOMPARE(first("SELECT COUNT(*) FROM M_PRD_BCD B LEFT JOIN M_PRD P ON P.PRD_ID=B.PRD_ID LEFT JOIN M_FMR F "
                   "ON F.FMR_ID=B.FMR_ID WHERE P.PRD_ID IS NULL OR F.FMR_ID IS NULL OR B.PRC<100 OR B.PRC>=10000 "
                   "OR B.UNIT_ID NOT BETWEEN 1 AND 5 OR B.BCD NOT GLOB '4[59]*' AND B.BCD NOT GLOB '2*'"),
             QStringLiteral("0"));
    for (Recordset rs = gMst->GetFwdOnlyRst(QStringLiteral("SELECT BCD FROM M_PRD_BCD")); !rs.EOF_(); rs.MoveNext())
        QVERIFY2(eanValid(rs.Fields(0).toString()), qPrintable(rs.Fields(0).toString()));
    QCOMPARE(first("SELECT COUNT(*) FROM M_FMR WHERE LENGTH(FMR_NM)>50 OR LENGTH(ADRS)>50 OR LENGTH(TEL_NO_L)>15 "
                   "OR LENGTH(NOTES)>50 OR LENGTH(ACC_NO)<>7 OR ACC_KBN NOT IN ('普通','当座') OR ACC_NM GLOB '*[^｡-ﾟ ()]*' OR FEE_1>9999"),
             QStringLiteral("0"));
    QCOMPARE(first("SELECT COUNT(DISTINCT ETO_YM) || ' ' || MIN(ID) || '-' || MAX(ID) FROM L_ETO"), QStringLiteral("60 1-60"));
    // A flower with one to four words for every day of a leap year (29 February has none).
    QString words = QStringLiteral("0");
    QStringList days;
    for (int i = 1; i <= 9; ++i)
        words += QStringLiteral("+(COALESCE(WD%1,'')<>'')").arg(i);
    for (QDate day(2000, 1, 1); day.year() == 2000; day = day.addDays(1))
        days << QString::number(day.month() * 100 + day.day());
    QCOMPARE(first(QStringLiteral("SELECT GROUP_CONCAT(MD) FROM (SELECT MD FROM L_FWD WHERE NM<>'' AND (%1 BETWEEN 1 AND 4 "
                                  "OR MD=229 AND %1=0) ORDER BY MD)").arg(words)), days.join(u','));
    QVERIFY(first("SELECT COUNT(*) FROM L_FWD WHERE WD1 IS NULL AND WD2 IS NOT NULL").toInt() > 0);

    // Labels printed in the shop: not registered, decoded to a product and a producer as the register does.
    const QStringList codes = DemoMasters::inStoreSampleCodes();
    QVERIFY(codes.size() >= 15 && QSet<QString>(codes.begin(), codes.end()).size() == codes.size());
    QVERIFY(codes.contains(QStringLiteral("0010001002507"))); // トマト of producer 1 at 250 yen
    for (const QString &code : codes) {
        QVERIFY2(eanValid(code) && code.mid(7, 4).toInt() > 0, qPrintable(code));
        QCOMPARE(first(QStringLiteral("SELECT (SELECT COUNT(*) FROM M_PRD_BCD WHERE BCD='%1') || (SELECT COUNT(*) FROM "
                                      "M_PRD WHERE PRD_ID=%2) || COUNT(*) FROM M_FMR WHERE FMR_ID=%3")
                           .arg(code, code.mid(0, 3), code.mid(3, 4))),
                 QStringLiteral("011"));
    }
}

void TestProgramFolder::schemaAndUpgrade()
{
    // The server's tables: the register's fifteen, three of the banks, two of the sales notices, five of the tax.
    QByteArray out;
    QCOMPARE(admin({QStringLiteral("schema"), QStringLiteral("--mysql")}, &out), 0);
    QVERIFY(out.contains("AMT_SUM DECIMAL(19,4)") && out.contains("ENGINE=InnoDB DEFAULT CHARSET=utf8mb4"));
    QCOMPARE(out.count("CREATE TABLE"), 25);

    // An existing database gets the new indexes.
    for (const bool onServer : {false, true}) {
        if (onServer && !TestProgram::serverAvailable())
            break;
        TestProgram program;
        program.createDatabases(false, onServer);
        program.openAll();
        // As the earlier version left it: its indexes, and a paid day.
        const Schema::Table &adjDtl = *Schema::table(QStringLiteral("D_ADJ_DTL"));
        for (const QStringList &columns : adjDtl.indexes)
            gDb->EXEC(Schema::dropIndexStatement(adjDtl, Schema::indexName(adjDtl, columns),
                                                 onServer ? Schema::Engine::MariaDb : Schema::Engine::Sqlite));
        gDb->EXEC(QStringLiteral("CREATE INDEX IX_D_ADJ_DTL_CLS_DATE ON D_ADJ_DTL (CLS_DATE)"));
        gDb->EXEC(QStringLiteral("CREATE INDEX IX_D_ADJ_DTL_FMR_ID ON D_ADJ_DTL (FMR_ID)"));
        gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT, CLS_DATE) "
                                 "VALUES (#2024-03-01 00:00:00#, 7, 1, 100, #2024-03-15 00:00:00#)"));
        ReleaseObj();

        // Run from a script: the report only, no progress line.
        QCOMPARE(admin({QStringLiteral("upgrade")}, &out), 0);
        QCOMPARE(QString::fromUtf8(out), QStringLiteral("トランザクションデータベース: 索引を 4 件更新しました。\n"
                                                        "マスタデータベース: 更新はありません。\n"));
        program.openAll();
        QCOMPARE(Rows::row(onServer ? QStringLiteral("SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS WHERE "
                                                     "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='D_ADJ_DTL' AND INDEX_NAME LIKE 'IX*' ORDER BY 1")
                                    : QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='D_ADJ_DTL' "
                                                     "AND name LIKE 'IX*' ORDER BY 1")),
                 QStringLiteral("IX_D_ADJ_DTL_CLS_DATE_FMR_ID\nIX_D_ADJ_DTL_SALES_DATE_CLS_DATE"));
        QCOMPARE(Rows::count(QStringLiteral("D_ADJ_DTL")), 1);
        ReleaseObj();
        QCOMPARE(admin({QStringLiteral("upgrade")}, &out), 0);
        QCOMPARE(QString::fromUtf8(out).count(QStringLiteral("更新はありません")), 2);
    }
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "test_program_folder.moc"
