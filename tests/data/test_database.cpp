// The data objects on a real database, SQLite and the MariaDB test server alike: both engines must give the
// same answers. Also opening the connections: a released one, and a database that cannot be opened.
#include "app/InitObj.h"
#include "base/Common.h"
#include "data/Connection.h"
#include "data/DataEvents.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/SqlDialect.h"
#include "data/Transaction.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "support/BothEngines.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QTest>
#include <functional>

using Rows::count;
using Rows::money;

namespace {

const double kApril1 = 45383;

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

public:
    explicit TestDatabase(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup();

    void domainFunctions();
    void moneyDatesAndTextsRoundTrip();
    void resultSets();
    void transactionsAndAffectedRows();
    void controlValues();
    void localSettingsAndReleasedConnection();
    void openingFailures();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

void TestDatabase::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases(false, m_onServer);
    m_program->openAll();
    QCOMPARE(gDb->DBTYPE(), m_onServer ? QStringLiteral("MYSQL") : QStringLiteral("ACCESS"));
}

void TestDatabase::cleanup()
{
    m_program.reset();
}

void TestDatabase::domainFunctions()
{
    QVERIFY(gDb->DSUM(QStringLiteral("AMT_SUM"), QStringLiteral("D_REG")).isNull());
    QVERIFY(gDb->DJoin(QStringLiteral("REG_ID"), QStringLiteral("D_REG")).isNull());
    // Blanks as criteria still make a WHERE clause, which the engine refuses.
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG"), QStringLiteral("  ")));

    Rows::sale(1, kApril1, {{7, "1", "1200"}});
    Rows::sale(2, kApril1, {{7, "1", "300.5"}});
    Rows::sale(3, kApril1 + 1, {{7, "1", "99"}});
    gDb->EXEC(QStringLiteral("UPDATE D_REG SET REG_USER='B' WHERE REG_ID=3"));
    gDb->EXEC(QStringLiteral("UPDATE D_REG SET REG_USER=NULL WHERE REG_ID=2"));
    const QString day1 = QStringLiteral("SALES_DATE=#2024-04-01 00:00:00#");
    QCOMPARE(gDb->DSUM(QStringLiteral("AMT_SUM"), QStringLiteral("D_REG"), day1).toCurrency(), money("1500.5"));
    const Variant oldest = gDb->DMin(QStringLiteral("SALES_DATE"), QStringLiteral("D_REG"));
    QVERIFY(oldest.kind() == Variant::Kind::Date && oldest.toDate() == kApril1);
    // A Null between two values leaves two blanks.
    QCOMPARE(gDb->DJoin(QStringLiteral("REG_USER"), QStringLiteral("D_REG ORDER BY REG_ID")).toString(),
             QStringLiteral("レジ'1  B"));
    QCOMPARE(count(QStringLiteral("D_REG"), QStringLiteral("REG_USER LIKE '*b*'")), 1);
    QVERIFY(m_program->logLines().isEmpty()); // domain functions do not log their SQL
    QCOMPARE(Rows::value(QStringLiteral("SELECT REG_USER FROM D_REG WHERE REG_ID=3")), QStringLiteral("B"));
}

void TestDatabase::moneyDatesAndTextsRoundTrip()
{
    const QString name = QStringLiteral("O'Brien 農園 #1# 'テスト'");
    gMst->EXEC(QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM, FEE_1, FEE_2) VALUES (1, %1, 220.1234, 99999999999.9999)")
                   .arg(SqlDialect::text(name)));
    Recordset rs = gMst->GetFwdOnlyRst(QStringLiteral("SELECT M_FMR.* FROM M_FMR WHERE M_FMR.FMR_ID=1"));
    QCOMPARE(rs.Fields(QStringLiteral("FMR_NM")).toString(), name);
    QCOMPARE(rs.Fields(QStringLiteral("M_FMR.FEE_1")).kind(), Variant::Kind::Currency);
    QCOMPARE(rs.Fields(QStringLiteral("FEE_1")).toCurrency(), money("220.1234"));
    // Fifteen significant digits survive every engine: up to 99,999,999,999.9999 yen exactly.
    QCOMPARE(rs.Fields(QStringLiteral("FEE_2")).toCurrency(), money("99999999999.9999"));
    QVERIFY(rs.Fields(QStringLiteral("ADRS")).isNull());
    rs.Close();
    // Case-blind text comparison, as on every engine the register has used.
    QCOMPARE(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_FMR"), QStringLiteral("FMR_NM='o''brien 農園 #1# ''テスト'''")).toLong(), 1);
    // Kana the server's ODBC driver turns into UTF-16 a character short (ホン, ホウ ...) come back whole, in a
    // column of the tables and in one the statement names.
    const QString kana = QStringLiteral("ﾎｳﾚﾝｿｳ ホウレンソウ オオサカホンテン");
    gMst->EXEC(Sql(R"(UPDATE M_FMR SET ACC_NM=:kana WHERE FMR_ID=1)").text(QStringLiteral("kana"), kana));
    QCOMPARE(gMst->DLookup(QStringLiteral("ACC_NM"), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID=1")).toString(), kana);
    Recordset named = gMst->GetFwdOnlyRst(QStringLiteral("SELECT ACC_NM AS SHOWN FROM M_FMR WHERE FMR_ID=1"));
    QCOMPARE(named.Fields(QStringLiteral("SHOWN")).toString(), kana);
    named.Close();

    Rows::adjDtl(kApril1, 1, "2.5", "0.0001");
    Rows::adjDtl(kApril1 + 1, 1, "0.1", "0.2");
    QCOMPARE(gDb->DSUM(QStringLiteral("SALES_AMT"), QStringLiteral("D_ADJ_DTL")).toCurrency(), money("0.2001"));
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=#2024-04-15 00:00:00# WHERE SALES_DATE <= #2024-04-01 00:00:00#"));
    QCOMPARE(count(QStringLiteral("D_ADJ_DTL"), QStringLiteral("CLS_DATE IS NULL")), 1);
}

void TestDatabase::resultSets()
{
    for (int id = 1; id <= 3; ++id)
        Rows::sale(id, kApril1, {{7, "1", "100"}});
    Recordset forward = gDb->GetFwdOnlyRst(QStringLiteral("SELECT D_REG.* FROM D_REG ORDER BY REG_ID"));
    int seen = 0;
    for (; !forward.EOF_(); forward.MoveNext())
        QCOMPARE(forward.Fields(QStringLiteral("REG_ID")).toLong(), ++seen);
    QCOMPARE(seen, 3);
    QVERIFY_THROWS_EXCEPTION(DbError, forward.MoveFirst());
    Recordset scroll = gDb->GetStaticRst(QStringLiteral("SELECT REG_ID FROM D_REG ORDER BY REG_ID"));
    QCOMPARE(scroll.RecordCount(), 3);
    scroll.MoveLast();
    scroll.MovePrevious();
    QCOMPARE(scroll.Fields(0).toLong(), 2);
    QVERIFY_THROWS_EXCEPTION(DbError, scroll.Fields(QStringLiteral("NO_SUCH")));
    // Every result set writes its statement to the log first, as written.
    QVERIFY(m_program->logLines().value(0).endsWith(QStringLiteral(" SELECT D_REG.* FROM D_REG ORDER BY REG_ID")));

    Recordset rs = gMst->GetDynamicRst(QStringLiteral("SELECT M_FMR.* FROM M_FMR WHERE FMR_ID=12"));
    rs.AddNew();
    rs.setField(QStringLiteral("FMR_ID"), Variant(12));
    rs.setField(QStringLiteral("FMR_NM"), Variant(QStringLiteral("山田 太郎")));
    rs.setField(QStringLiteral("FEE_1"), Variant(money("330")));
    rs.Update();
    rs.Close();
    Recordset edit = gMst->GetDynamicRst(QStringLiteral("SELECT M_FMR.* FROM M_FMR WHERE FMR_ID=12"));
    edit.setField(QStringLiteral("ADRS"), Variant(QStringLiteral("みのり町1-2")));
    edit.setField(QStringLiteral("FEE_1"), Variant::null());
    edit.Update();
    QCOMPARE(gMst->DLookup(QStringLiteral("ADRS"), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID=12")).toString(), "みのり町1-2");
    QVERIFY(gMst->DLookup(QStringLiteral("FEE_1"), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID=12")).isNull());
    // Another register removed the row meanwhile: the update says so instead of writing nothing quietly.
    gMst->EXEC(QStringLiteral("DELETE FROM M_FMR WHERE FMR_ID=12"));
    edit.setField(QStringLiteral("NOTES"), Variant(QStringLiteral("x")));
    QVERIFY_THROWS_EXCEPTION(DbError, edit.Update());
}

void TestDatabase::transactionsAndAffectedRows()
{
    try {
        Transaction t(*gDb);
        Rows::sale(1, kApril1, {{7, "1", "100"}});
        throw DbError(QStringLiteral("abandoned"));
    } catch (const DbError &) {
    }
    QVERIFY(!gDb->connection()->inTransaction());
    QCOMPARE(count(QStringLiteral("D_REG")) + count(QStringLiteral("D_REG_DTL")), 0);

    gDb->Begintrans();
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->Begintrans());
    Rows::sale(1, kApril1, {{7, "1", "100"}, {8, "1", "200"}});
    Rows::sale(2, kApril1 + 1, {{7, "1", "50"}});
    gDb->CommitTrans();
    QCOMPARE(count(QStringLiteral("D_REG")), 2);
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->CommitTrans());
    // A duplicate key fails as an engine error.
    QVERIFY_THROWS_EXCEPTION(DbError, Rows::sale(1, kApril1, {}));

    long affected = -1;
    gDb->EXEC(QStringLiteral("UPDATE D_REG SET RCV=AMT_SUM"), &affected);
    QCOMPARE(affected, 2L); // rows matched, even where nothing changed
    // The daily close's copy and delete through a join: only the day's lines.
    const QString day = QStringLiteral("#2024-04-01 00:00:00#");
    gDb->EXEC(QStringLiteral("INSERT INTO B_REG_DTL  SELECT D_REG_DTL.*  FROM D_REG_DTL  LEFT JOIN D_REG ON "
                             "D_REG_DTL.REG_ID=D_REG.REG_ID WHERE D_REG.SALES_DATE=") + day, &affected);
    QCOMPARE(affected, 2L);
    gDb->EXEC(QStringLiteral("DELETE D_REG_DTL.* FROM D_REG_DTL  LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID "
                             "WHERE D_REG.SALES_DATE=") + day, &affected);
    QCOMPARE(affected, 2L);
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 1);
    gDb->EXEC(QStringLiteral("DELETE D_REG_DTL.* FROM D_REG_DTL WHERE D_REG_DTL.REG_ID=1"), &affected);
    QCOMPARE(affected, 0L);
}

void TestDatabase::controlValues()
{
    QVERIFY(gMst->GetCtrl(QStringLiteral("NEVER_SAVED")).isEmpty());
    QCOMPARE(gMst->GetCtrl(QStringLiteral("FEE_RT")).toString(), QStringLiteral("0.15")); // untyped: text
    const auto typed = [](const char *key, const char *value, int type) {
        gDb->EXEC(QStringLiteral("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE, CTRL_TYPE) VALUES ('%1', '%2', %3)")
                      .arg(QString::fromLatin1(key), QString::fromLatin1(value)).arg(type));
    };
    const auto stored = [](const char *key) {
        return Rows::value(QStringLiteral("SELECT CTRL_VALUE FROM S_CTRL WHERE CTRL_CD='%1'").arg(QString::fromLatin1(key)));
    };
    typed("T_LONG", "12", 4);
    typed("T_DATE", "2024/04/01 00:00:00", 8);
    typed("T_BOOL", "True", 1);
    typed("T_MONEY", "0.08", 5);
    typed("T_BYTE", "300", 2);
    QCOMPARE(gDb->GetCtrl(QStringLiteral("T_LONG")), Variant(12));
    QCOMPARE(gDb->GetCtrl(QStringLiteral("T_DATE")), Variant::date(kApril1));
    QCOMPARE(gDb->GetCtrl(QStringLiteral("T_BOOL")), Variant(true));
    QCOMPARE(gDb->GetCtrl(QStringLiteral("T_MONEY")), Variant(money("0.08")));
    // A value that does not fit its type fails like any other read: a message, and Empty.
    QVERIFY(gDb->GetCtrl(QStringLiteral("T_BYTE")).isEmpty());
    QCOMPARE(m_program->messages().shown().size(), 1);

    QVERIFY(gDb->SaveCtrl(QStringLiteral("T_BOOL"), Variant(false)));
    QCOMPARE(stored("T_BOOL"), QStringLiteral("False"));
    QVERIFY(gDb->SaveCtrl(QStringLiteral("T_DATE"), Variant::date(kApril1 + 0.5)));
    QCOMPARE(stored("T_DATE"), QStringLiteral("2024/04/01 12:00:00"));
    QVERIFY(gDb->SaveCtrl(QStringLiteral("T_LONG"), Variant(QString())));
    QVERIFY(gDb->GetCtrl(QStringLiteral("T_LONG")).isNull()); // Null, not Empty
    // A new key keeps its text; quotes in keys and values are stored as they are.
    QVERIFY(gIni->SaveCtrl(QStringLiteral("NEW_SWITCH"), Variant(QStringLiteral("1"))));
    QCOMPARE(gIni->GetCtrl(QStringLiteral("NEW_SWITCH")), Variant(QStringLiteral("1")));
    QVERIFY(gMst->SaveCtrl(QStringLiteral("ODD'KEY"), Variant(QStringLiteral("Farmer's 'special' #1"))));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("ODD'KEY")).toString(), QStringLiteral("Farmer's 'special' #1"));

    // Without the table: Empty, false, and one critical message each, the engine's number at its end.
    gDb->EXEC(QStringLiteral("DROP TABLE S_CTRL"));
    m_program->messages().clear();
    QVERIFY(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).isEmpty());
    QVERIFY(!gDb->SaveCtrl(QStringLiteral("NEW_REG_ID"), Variant(5)));
    const auto &shown = m_program->messages().shown();
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown[0].flags == Msg::Critical && shown[0].title == QStringLiteral("Marveno"));
    QVERIFY(shown[0].prompt.contains(QRegularExpression(QStringLiteral("\\(-?\\d+\\)$"))));
}

void TestDatabase::localSettingsAndReleasedConnection()
{
    if (m_onServer)
        QCOMPARE(gIni->DB_NAME(), QStringLiteral("vantle_trn")); // server names are never resolved
    else
        QCOMPARE(gIni->DB_NAME(), m_program->path(QStringLiteral("regi.mdb")));
    const QString mst = m_program->path(QStringLiteral("mst.mdb"));
    QCOMPARE(clsINI::ResolveName(QStringLiteral("mst.mdb"), QStringLiteral("2")), mst);
    QCOMPARE(clsINI::ResolveName(mst, QStringLiteral("2")), mst);
    QCOMPARE(clsINI::ResolveName(QStringLiteral("gone.mdb"), QStringLiteral("2")), QString());
    QCOMPARE(clsINI::ResolveName(QStringLiteral("\\\\server\\share\\regi.mdb"), QStringLiteral("2")), QString());

    gDb->CloseCnn();
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->GetFwdOnlyRst(QStringLiteral("SELECT * FROM D_REG")));
    // A domain function opens a released connection again.
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
    QVERIFY(gDb->isOpen());
}

void TestDatabase::openingFailures()
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

    messages.queueAnswer(Msg::No);
    gDb->OpenCnn();
    QVERIFY(ends == 1 && dialogs == 0);
    QCOMPARE(messages.shown().last().prompt, QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。"));
    QCOMPARE(messages.shown().last().flags, Msg::YesNo | Msg::Critical);

    // Yes: the connection dialog, then the object stays without a connection. Lookups fail without asking
    // again; one question per failure.
    messages.queueAnswer(Msg::Yes);
    gDb->OpenCnn();
    QVERIFY(ends == 1 && dialogs == 1);
    QVERIFY(!gDb->isOpen());
    const qsizetype asked = messages.shown().size();
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")));
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
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
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
    QVERIFY(messages.shown().first().flags == Msg::Critical && messages.shown().first().prompt.contains("INFO.MDB"));
    QCOMPARE(gIni->DB_TYPE(), QString());
}

VANTLE_TEST_BOTH_ENGINES(TestDatabase)

#include "test_database.moc"
