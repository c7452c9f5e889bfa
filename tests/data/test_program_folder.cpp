// A program folder as vantle-admin makes it, opened the way the register opens it.
#include "app/Globals.h"
#include "data/DbError.h"
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

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "test_program_folder.moc"
