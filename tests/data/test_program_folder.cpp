// A program folder as vantle-admin makes it, opened the way the register opens it.
#include "app/InitObj.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/Schema.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QProcess>
#include <QTest>

class TestProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void demoFolderOpensThroughTheSettings();
    void existingFolderIsRefusedUntouched();
    void serverSchemaIsPrinted();
    void existingDatabaseGetsTheNewIndexes();
};

static int admin(const QStringList &args, QByteArray *out = nullptr, QByteArray *err = nullptr)
{
    QProcess p;
    p.start(qEnvironmentVariable("VANTLE_ADMIN"), args);
    p.waitForFinished(60000);
    if (out)
        *out = p.readAllStandardOutput();
    if (err)
        *err = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void TestProgramFolder::demoFolderOpensThroughTheSettings()
{
    TestProgram program;
    const QString folder = program.path(QStringLiteral("shop"));
    QCOMPARE(admin({QStringLiteral("init"), folder, QStringLiteral("--demo")}), 0);
    qputenv("VANTLE_HOME", folder.toUtf8());
    InitObj();
    QVERIFY(gIni->isOpen());
    QVERIFY(gDb->isOpen());
    QVERIFY(gMst->isOpen());
    QVERIFY(program.messages().shown().isEmpty());
    QCOMPARE(gIni->DB_NAME(), QDir(folder).filePath(QStringLiteral("regi.mdb")));
    QCOMPARE(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).toString(), QStringLiteral("0"));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("TAX_RT")).toString(), QStringLiteral("0.08"));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("FEE_RT")).toString(), QStringLiteral("0.15"));
    QVERIFY(!gMst->GetCtrl(QStringLiteral("COM_NM")).toString().isEmpty());
    QCOMPARE(gMst->DCount(QStringLiteral("*"), QStringLiteral("L_ETO")).toLong(), 60);
    QCOMPARE(gMst->DLookup(QStringLiteral("ETO_YM"), QStringLiteral("L_ETO"), QStringLiteral("ID=60")).toString(), QStringLiteral("甲子"));
    QCOMPARE(gMst->DLookup(QStringLiteral("ETO_YM"), QStringLiteral("L_ETO"), QStringLiteral("ID=54")).toString(), QStringLiteral("戊午"));
    QVERIFY(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_FMR")).toLong() >= 25);
    QVERIFY(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_PRD_BCD")).toLong() >= 250);
    QVERIFY(gMst->DCount(QStringLiteral("*"), QStringLiteral("L_FWD"), QStringLiteral("MD>=401 AND MD<=430")).toLong() >= 30);
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 0);
    QVERIFY(QDir(folder).exists(QStringLiteral("backup")));
}

void TestProgramFolder::existingFolderIsRefusedUntouched()
{
    TestProgram program;
    const QString folder = program.path(QStringLiteral("shop"));
    QCOMPARE(admin({QStringLiteral("init"), folder}), 0);
    const QDateTime before = QFileInfo(QDir(folder).filePath(QStringLiteral("regi.mdb"))).lastModified();
    QByteArray err;
    QCOMPARE(admin({QStringLiteral("init"), folder, QStringLiteral("--demo")}, nullptr, &err), 1);
    QVERIFY(!err.isEmpty());
    QCOMPARE(QFileInfo(QDir(folder).filePath(QStringLiteral("regi.mdb"))).lastModified(), before);
    QVERIFY(admin({QStringLiteral("init")}) != 0);
}

void TestProgramFolder::serverSchemaIsPrinted()
{
    QByteArray out;
    QCOMPARE(admin({QStringLiteral("schema"), QStringLiteral("--mysql")}, &out), 0);
    const QString ddl = QString::fromUtf8(out);
    QVERIFY(ddl.contains(QStringLiteral("CREATE TABLE D_REG (")));
    QVERIFY(ddl.contains(QStringLiteral("AMT_SUM DECIMAL(19,4)")));
    QVERIFY(ddl.contains(QStringLiteral("SALES_DATE DATETIME NOT NULL")));
    QVERIFY(ddl.contains(QStringLiteral("ENGINE=InnoDB DEFAULT CHARSET=utf8mb4")));
    QVERIFY(ddl.contains(QStringLiteral("PRIMARY KEY (REG_ID, DTL_NO)")));
    // The register's fifteen tables, the bank master and the producers' bank codes (M_BANK, M_BANK_BR,
    // M_FMR_BANK), the two of the sales notices (D_NTC, M_FMR_NTC) and the five of the tax (D_REG_TAX,
    // D_REG_DTL_TAX, their backups, M_PRD_TAX).
    QCOMPARE(ddl.count(QStringLiteral("CREATE TABLE")), 25);
}

// The indexes of D_ADJ_DTL that the connected database has, by name.
static QStringList adjDtlIndexes(bool onServer)
{
    const QString sql = onServer ? QStringLiteral("SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS "
                                                  "WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME='D_ADJ_DTL'")
                                 : QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='D_ADJ_DTL'");
    QStringList names;
    for (Recordset rs = gDb->GetFwdOnlyRst(sql); !rs.EOF_(); rs.MoveNext())
        if (rs.Fields(0).toString().startsWith(QStringLiteral("IX_")))
            names << rs.Fields(0).toString();
    names.sort();
    return names;
}

void TestProgramFolder::existingDatabaseGetsTheNewIndexes()
{
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
        QByteArray out;
        QCOMPARE(admin({QStringLiteral("upgrade")}, &out), 0);
        QCOMPARE(QString::fromUtf8(out), QStringLiteral("トランザクションデータベース: 索引を 4 件更新しました。\n"
                                                        "マスタデータベース: 更新はありません。\n"));
        program.openAll();
        QCOMPARE(adjDtlIndexes(onServer),
                 (QStringList{QStringLiteral("IX_D_ADJ_DTL_CLS_DATE_FMR_ID"),
                              QStringLiteral("IX_D_ADJ_DTL_SALES_DATE_CLS_DATE")}));
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_ADJ_DTL")).toLong(), 1);
        ReleaseObj();
        QCOMPARE(admin({QStringLiteral("upgrade")}, &out), 0);
        QCOMPARE(QString::fromUtf8(out).count(QStringLiteral("更新はありません")), 2);
    }
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "test_program_folder.moc"
