// Opening the data objects' connections: a closed or released connection, and a database that cannot be
// opened (the question, the answers the program acts on, one question per failure). SQLite always, the
// MariaDB test server when the test command started one.
#include "app/InitObj.h"
#include "base/Common.h"
#include "data/DataEvents.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "support/BothEngines.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QTest>
#include <functional>

class TestConnections : public QObject
{
    Q_OBJECT

public:
    explicit TestConnections(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup();

    void closedAndReleasedConnections();
    void openingFailures();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

void TestConnections::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases(false, m_onServer);
    m_program->openAll();
    QVERIFY(gDb->isOpen());
    QVERIFY(gMst->isOpen());
    QCOMPARE(gDb->DBTYPE(), m_onServer ? QStringLiteral("MYSQL") : QStringLiteral("ACCESS"));
}

void TestConnections::cleanup()
{
    m_program.reset();
}

void TestConnections::closedAndReleasedConnections()
{
    gDb->CloseCnn();
    QVERIFY(!gDb->isOpen());
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->GetFwdOnlyRst(QStringLiteral("SELECT * FROM D_REG")));
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->EXEC(QStringLiteral("DELETE FROM D_REG")));
    // A domain function opens a released connection again.
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 0);
    QVERIFY(gDb->isOpen());
}

void TestConnections::openingFailures()
{
    auto &messages = m_program->messages();
    QVERIFY(gIni->SaveCtrl(QStringLiteral("DB_TYPE"), Variant(QStringLiteral("0"))));

    // What the program does with the answers: the connection settings (which may save new ones), or its end.
    QObject program;
    int ends = 0;
    int dialogs = 0;
    std::function<void()> dialog = [&] { ++dialogs; };
    connect(&DataEvents::instance(), &DataEvents::programEndWanted, &program, [&] { ++ends; });
    connect(&DataEvents::instance(), &DataEvents::connectionSettingsWanted, &program, [&] { dialog(); });

    // No: the program ends.
    messages.queueAnswer(Msg::No);
    gDb->OpenCnn();
    QCOMPARE(ends, 1);
    QCOMPARE(dialogs, 0);
    QVERIFY(!gDb->isOpen());
    QCOMPARE(messages.shown().last().prompt, QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。"));
    QCOMPARE(messages.shown().last().flags, Msg::YesNo | Msg::Critical);
    QVERIFY(m_program->logLines().last().endsWith(QStringLiteral("Marveno[警告]ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。[NO]")));

    // Yes: the connection dialog, then the object stays without a connection. Lookups fail without asking
    // again; one question per failure.
    messages.queueAnswer(Msg::Yes);
    gDb->OpenCnn();
    QCOMPARE(dialogs, 1);
    QCOMPARE(ends, 1);
    QVERIFY(!gDb->isOpen());
    QCOMPARE(gDb->DBTYPE(), QString());
    const qsizetype asked = messages.shown().size();
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")));
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->DJoin(QStringLiteral("REG_ID"), QStringLiteral("D_REG")));
    QCOMPARE(messages.shown().size(), asked);
    // Settings saved in the dialog are tried at once; saved elsewhere (the settings menu), by the next lookup.
    const QString type = m_onServer ? QStringLiteral("1") : QStringLiteral("2");
    dialog = [&] { gIni->SaveCtrl(QStringLiteral("DB_TYPE"), Variant(type)); };
    messages.queueAnswer(Msg::Yes);
    gDb->OpenCnn();
    QVERIFY(gDb->isOpen());
    QVERIFY(gIni->SaveCtrl(QStringLiteral("DB_TYPE"), Variant(QStringLiteral("0"))));
    dialog = [] {};
    messages.queueAnswer(Msg::Yes);
    gDb->OpenCnn();
    QVERIFY(gIni->SaveCtrl(QStringLiteral("DB_TYPE"), Variant(type)));
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 0);
    QCOMPARE(messages.shown().size(), asked + 2);

    // The master database names its own message; a missing file fails like a wrong type.
    QVERIFY(gIni->SaveCtrl(QStringLiteral("MST_TYPE"), Variant(QStringLiteral("2"))));
    QVERIFY(gIni->SaveCtrl(QStringLiteral("MST_NAME"), Variant(QStringLiteral("missing.mdb"))));
    messages.queueAnswer(Msg::Yes);
    gMst->OpenCnn();
    QCOMPARE(messages.shown().last().prompt, QStringLiteral("ﾏｽﾀﾃﾞｰﾀが不正ですので設定してください。"));

    // Without INFO.MDB the local object shows the engine's description and every setting reads empty.
    ReleaseObj();
    QVERIFY(QFile::remove(m_program->path(QStringLiteral("INFO.MDB"))));
    messages.clear();
    gIni = std::make_unique<clsINI>();
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown().first().flags, int(Msg::Critical));
    QVERIFY(messages.shown().first().prompt.contains(QStringLiteral("INFO.MDB")));
    QCOMPARE(gIni->DB_TYPE(), QString());
}

VANTLE_TEST_BOTH_ENGINES(TestConnections)

#include "test_connections.moc"
