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

constexpr double kApril1 = 45383; // 2024-04-01

class TestDatabase : public QObject
{
    Q_OBJECT

public:
    explicit TestDatabase(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup();

    void domainFunctionsAndResultSets();
    void moneyDatesAndTextsRoundTrip();
    void transactionsAndAffectedRows();
    void controlValues();
    void connections();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

void TestDatabase::init()
{
    m_program = TestProgram::opened(false, m_onServer);
    QCOMPARE(gDb->DBTYPE(), m_onServer ? QStringLiteral("MYSQL") : QStringLiteral("ACCESS"));
}

void TestDatabase::cleanup()
{
    m_program.reset();
}

void TestDatabase::domainFunctionsAndResultSets()
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
    QCOMPARE(gDb->DSUM(QStringLiteral("AMT_SUM"), QStringLiteral("D_REG"), Rows::on(QStringLiteral("SALES_DATE"), kApril1))
                 .toCurrency(), money("1500.5"));
    QCOMPARE(gDb->DMin(QStringLiteral("SALES_DATE"), QStringLiteral("D_REG")), Variant::date(kApril1));
    // A Null between two values leaves two blanks.
    QCOMPARE(gDb->DJoin(QStringLiteral("REG_USER"), QStringLiteral("D_REG ORDER BY REG_ID")).toString(),
             QStringLiteral("レジ'1  B"));
    QVERIFY(m_program->logLines().isEmpty()); // domain functions do not log their SQL

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

    // An editable result set: a row added, then changed.
    const QString farmer = QStringLiteral("SELECT M_FMR.* FROM M_FMR WHERE FMR_ID=12");
    Recordset rs = gMst->GetDynamicRst(farmer);
    rs.AddNew();
    rs.setField(QStringLiteral("FMR_ID"), Variant(12));
    rs.setField(QStringLiteral("FEE_1"), Variant(money("330")));
    rs.Update();
    rs.Close();
    Recordset edit = gMst->GetDynamicRst(farmer);
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

    long affected = -1;
    gDb->EXEC(QStringLiteral("UPDATE D_REG SET RCV=AMT_SUM"), &affected);
    QCOMPARE(affected, 2L); // rows matched, even where nothing changed
}

void TestDatabase::controlValues()
{
    QVERIFY(gMst->GetCtrl(QStringLiteral("NEVER_SAVED")).isEmpty());
    QCOMPARE(gMst->GetCtrl(QStringLiteral("FEE_RT")).toString(), QStringLiteral("0.15")); // untyped: text
    // Typed values read as their type; one that does not fit its type fails like any other read: a message,
    // and Empty.
    const struct { const char *key, *stored; int type; Variant read; } typed[] = {
        {"T_LONG", "12", 4, Variant(12)},
        {"T_DATE", "2024/04/01 00:00:00", 8, Variant::date(kApril1)},
        {"T_BOOL", "True", 1, Variant(true)},
        {"T_MONEY", "0.08", 5, Variant(money("0.08"))},
        {"T_BYTE", "300", 2, Variant()},
    };
    for (const auto &t : typed) {
        gDb->EXEC(Sql(R"(INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE, CTRL_TYPE) VALUES (:key, :value, :type))")
                      .text("key", t.key).text("value", t.stored).number("type", t.type));
        QCOMPARE(gDb->GetCtrl(QString::fromLatin1(t.key)), t.read);
    }
    QCOMPARE(m_program->messages().shown().size(), 1);
    // Saved as the text the engines of old read; an empty text as Null, not Empty.
    QVERIFY(gDb->SaveCtrl(QStringLiteral("T_BOOL"), Variant(false)));
    QVERIFY(gDb->SaveCtrl(QStringLiteral("T_DATE"), Variant::date(kApril1 + 0.5)));
    QVERIFY(gDb->SaveCtrl(QStringLiteral("T_LONG"), Variant(QString())));
    QCOMPARE(Rows::row(QStringLiteral("SELECT CTRL_VALUE FROM S_CTRL WHERE CTRL_CD IN ('T_BOOL', 'T_DATE', 'T_LONG') "
                                      "ORDER BY CTRL_CD")),
             QStringLiteral("False\n2024/04/01 12:00:00\n<null>"));
    QVERIFY(gDb->GetCtrl(QStringLiteral("T_LONG")).isNull());

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

void TestDatabase::connections()
{
    // File names resolve in the program folder; server names never.
    QCOMPARE(gIni->DB_NAME(), m_onServer ? QStringLiteral("vantle_trn") : m_program->path(QStringLiteral("regi.mdb")));
    const QString mst = m_program->path(QStringLiteral("mst.mdb"));
    QCOMPARE(clsINI::ResolveName(QStringLiteral("mst.mdb"), QStringLiteral("2")), mst);
    QCOMPARE(clsINI::ResolveName(mst, QStringLiteral("2")), mst);
    QCOMPARE(clsINI::ResolveName(QStringLiteral("gone.mdb"), QStringLiteral("2")), QString());
    QCOMPARE(clsINI::ResolveName(QStringLiteral("\\\\server\\share\\regi.mdb"), QStringLiteral("2")), QString());
    // A released connection: result sets fail, a domain function opens it again.
    gDb->CloseCnn();
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->GetFwdOnlyRst(QStringLiteral("SELECT * FROM D_REG")));
    QCOMPARE(count(QStringLiteral("D_REG")), 0);

    // A database that cannot be opened asks once whether to set the connection: No ends the program, Yes opens
    // the connection settings (which may save new ones) and the object stays without a connection.
    auto &messages = m_program->messages();
    QObject program;
    int ends = 0, dialogs = 0;
    std::function<void()> dialog = [] {};
    connect(&DataEvents::instance(), &DataEvents::programEndWanted, &program, [&] { ++ends; });
    connect(&DataEvents::instance(), &DataEvents::connectionSettingsWanted, &program, [&] {
        ++dialogs;
        dialog();
    });
    const auto openWith = [&](const char *type, int answer) {
        QVERIFY(gIni->SaveCtrl(QStringLiteral("DB_TYPE"), Variant(type)));
        messages.queueAnswer(answer);
        gDb->OpenCnn();
    };
    openWith("0", Msg::No);
    QVERIFY(ends == 1 && dialogs == 0);
    QCOMPARE(messages.shown().last().prompt, QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。"));
    QCOMPARE(messages.shown().last().flags, Msg::YesNo | Msg::Critical);
    openWith("0", Msg::Yes);
    QVERIFY(ends == 1 && dialogs == 1 && !gDb->isOpen());
    // Lookups fail without asking again.
    const qsizetype asked = messages.shown().size();
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")));
    QCOMPARE(messages.shown().size(), asked);
    // Settings saved in the dialog are tried at once; saved elsewhere (the settings menu), by the next lookup.
    const char *type = m_onServer ? "1" : "2";
    dialog = [&] { gIni->SaveCtrl(QStringLiteral("DB_TYPE"), Variant(type)); };
    openWith("0", Msg::Yes);
    QVERIFY(gDb->isOpen());
    dialog = [] {};
    openWith("0", Msg::Yes);
    QVERIFY(gIni->SaveCtrl(QStringLiteral("DB_TYPE"), Variant(type)));
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
    QCOMPARE(messages.shown().size(), asked + 2);

    // The master database names its own message; a missing file fails like a wrong type.
    QVERIFY(gIni->SaveCtrl(QStringLiteral("MST_TYPE"), Variant("2")));
    QVERIFY(gIni->SaveCtrl(QStringLiteral("MST_NAME"), Variant("missing.mdb")));
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
