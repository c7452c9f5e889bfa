// The data objects on a real database: SQLite always, the MariaDB test server when the test command
// started one. Both engines must give the same answers.
#include "app/InitObj.h"
#include "base/Common.h"
#include "data/Connection.h"
#include "data/ConnectionText.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/SqlDialect.h"
#include "data/Transaction.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "support/BothEngines.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QTest>

namespace {

Currency money(const char *text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

// A sale header in the register's SQL.
QString saleHeader(int id, const char *salesDate, const char *amount, const QString &user = QString())
{
    return QStringLiteral("INSERT INTO D_REG ( REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG) "
                          "VALUES (%1,%1,#2024-04-01 09:30:00#,#%2#,%3,1,%4,%4,0)")
        .arg(id).arg(QString::fromLatin1(salesDate), SqlDialect::text(user), QString::fromLatin1(amount));
}

QString saleLine(int id, int no, const QString &name, const char *amount)
{
    return QStringLiteral("INSERT INTO D_REG_DTL ( REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, QTY, UNIT_ID, AMT) "
                          "VALUES (%1,%2,'4900000000000',1,%3,7,NULL,%4,0,%4,1,1,%4)")
        .arg(id).arg(no).arg(SqlDialect::text(name), QString::fromLatin1(amount));
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

public:
    explicit TestDatabase(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup();

    void domainFunctionsOnEmptyTables();
    void domainFunctionsAndCriteria();
    void moneyDatesAndTextsRoundTrip();
    void resultSets();
    void updatableResultSet();
    void transactionsAndAffectedRows();
    void deletesThroughJoinsAndCopies();
    void controlValues();
    void controlValueFailures();
    void localSettings();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

void TestDatabase::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases(false, m_onServer);
    m_program->openAll();
    QVERIFY(gDb->isOpen());
    QVERIFY(gMst->isOpen());
    QCOMPARE(gDb->DBTYPE(), m_onServer ? QStringLiteral("MYSQL") : QStringLiteral("ACCESS"));
}

void TestDatabase::cleanup()
{
    m_program.reset();
}

void TestDatabase::domainFunctionsOnEmptyTables()
{
    QVERIFY(gDb->DMax(QStringLiteral("SALES_DATE"), QStringLiteral("D_REG")).isNull());
    QVERIFY(gDb->DSUM(QStringLiteral("AMT_SUM"), QStringLiteral("D_REG")).isNull());
    QVERIFY(gDb->DLookup(QStringLiteral("REG_ID"), QStringLiteral("D_REG")).isNull());
    QVERIFY(gDb->DJoin(QStringLiteral("REG_ID"), QStringLiteral("D_REG")).isNull());
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 0);
    // Blanks as criteria still make a WHERE clause, which the engine refuses.
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG"), QStringLiteral("  ")));
}

void TestDatabase::domainFunctionsAndCriteria()
{
    gDb->EXEC(saleHeader(1, "2024-04-01 00:00:00", "1200", QStringLiteral("A")));
    gDb->EXEC(saleHeader(2, "2024-04-01 00:00:00", "300.5"));
    gDb->EXEC(saleHeader(3, "2024-04-02 00:00:00", "99", QStringLiteral("B")));
    const QString day1 = QStringLiteral("SALES_DATE=#2024-04-01 00:00:00#");
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG"), day1).toLong(), 2);
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG"), QStringLiteral("SALES_DATE>=#2024/04/02#")).toLong(), 1);
    QCOMPARE(gDb->DSUM(QStringLiteral("AMT_SUM"), QStringLiteral("D_REG"), day1).toCurrency(), money("1500.5"));
    QCOMPARE(gDb->DMax(QStringLiteral("REG_NO"), QStringLiteral("D_REG")).toLong(), 3);
    const Variant oldest = gDb->DMin(QStringLiteral("SALES_DATE"), QStringLiteral("D_REG"));
    QCOMPARE(oldest.kind(), Variant::Kind::Date);
    QCOMPARE(oldest.toDate(), 45383.0);
    QCOMPARE(gDb->DLookup(QStringLiteral("REG_USER"), QStringLiteral("D_REG"), QStringLiteral("REG_ID=3")).toString(),
             QStringLiteral("B"));
    // A Null between two values leaves two blanks.
    QCOMPARE(gDb->DJoin(QStringLiteral("REG_USER"), QStringLiteral("D_REG ORDER BY REG_ID")).toString(),
             QStringLiteral("A  B"));
    QCOMPARE(gDb->DJoin(QStringLiteral("REG_USER"), QStringLiteral("D_REG"), QStringLiteral("REG_ID=1")).toString(),
             QStringLiteral("A"));
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG"), QStringLiteral("REG_USER LIKE '*b*'")).toLong(), 1);
    // Domain functions do not write their SQL to the log.
    QVERIFY(m_program->logLines().isEmpty());
}

void TestDatabase::moneyDatesAndTextsRoundTrip()
{
    const QString name = QStringLiteral("O'Brien 農園 #1# 'テスト'");
    gMst->EXEC(QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM, FEE_1, FEE_2) VALUES (1, %1, 220.1234, 99999999999.9999)")
                   .arg(SqlDialect::text(name)));
    Recordset rs = gMst->GetFwdOnlyRst(QStringLiteral("SELECT M_FMR.* FROM M_FMR WHERE M_FMR.FMR_ID=1"));
    QVERIFY(!rs.EOF_());
    QCOMPARE(rs.Fields(QStringLiteral("FMR_NM")).toString(), name);
    QCOMPARE(rs.Fields(QStringLiteral("M_FMR.FEE_1")).kind(), Variant::Kind::Currency);
    QCOMPARE(rs.Fields(QStringLiteral("FEE_1")).toCurrency(), money("220.1234"));
    // Fifteen significant digits survive every engine: up to 99,999,999,999.9999 yen exactly.
    QCOMPARE(rs.Fields(QStringLiteral("FEE_2")).toCurrency(), money("99999999999.9999"));
    QVERIFY(rs.Fields(QStringLiteral("ADRS")).isNull());
    QCOMPARE(rs.Fields(QStringLiteral("FMR_ID")).kind(), Variant::Kind::Long);
    rs.Close();
    // Case-blind text comparison, as on every engine the register has used.
    QCOMPARE(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_FMR"), QStringLiteral("FMR_NM='o''brien 農園 #1# ''テスト'''")).toLong(), 1);

    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ_DTL ( SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT) VALUES( #2024/04/01#,1,2.5,0.0001)"));
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ_DTL ( SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT) VALUES( #2024/04/02#,1,0.1,0.2)"));
    QCOMPARE(gDb->DSUM(QStringLiteral("SALES_AMT"), QStringLiteral("D_ADJ_DTL")).toCurrency(), money("0.2001"));
    QCOMPARE(gDb->DSUM(QStringLiteral("SALES_QTY"), QStringLiteral("D_ADJ_DTL")).toCurrency(), money("2.6"));
    QVERIFY(gDb->DMax(QStringLiteral("CLS_DATE"), QStringLiteral("D_ADJ_DTL")).isNull());
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=#2024-04-15 00:00:00# WHERE SALES_DATE <= #2024-04-01 00:00:00#"));
    QCOMPARE(gDb->DMax(QStringLiteral("CLS_DATE"), QStringLiteral("D_ADJ_DTL")).toDate(), 45397.0);
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_ADJ_DTL"), QStringLiteral("CLS_DATE IS NULL")).toLong(), 1);
}

void TestDatabase::resultSets()
{
    for (int id = 1; id <= 3; ++id)
        gDb->EXEC(saleHeader(id, "2024-04-01 00:00:00", "100"));
    Recordset forward = gDb->GetFwdOnlyRst(QStringLiteral("SELECT D_REG.* FROM D_REG ORDER BY REG_ID"));
    int seen = 0;
    for (; !forward.EOF_(); forward.MoveNext())
        QCOMPARE(forward.Fields(QStringLiteral("REG_ID")).toLong(), ++seen);
    QCOMPARE(seen, 3);
    QVERIFY_THROWS_EXCEPTION(DbError, forward.MoveFirst());
    QVERIFY_THROWS_EXCEPTION(DbError, forward.Fields(0));
    QVERIFY_THROWS_EXCEPTION(DbError, forward.setField(QStringLiteral("RCV"), Variant(1)));

    Recordset scroll = gDb->GetStaticRst(QStringLiteral("SELECT REG_ID FROM D_REG ORDER BY REG_ID"));
    QCOMPARE(scroll.RecordCount(), 3);
    scroll.MoveLast();
    QCOMPARE(scroll.Fields(0).toLong(), 3);
    scroll.MovePrevious();
    QCOMPARE(scroll.Fields(0).toLong(), 2);
    scroll.MoveFirst();
    QCOMPARE(scroll.Fields(0).toLong(), 1);
    QVERIFY_THROWS_EXCEPTION(DbError, scroll.Fields(QStringLiteral("NO_SUCH")));
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->GetFwdOnlyRst(QStringLiteral("SELECT * FROM NO_SUCH_TABLE")));

    // Every result set writes its statement to the log first, as written.
    const QStringList log = m_program->logLines();
    QCOMPARE(log.size(), 3);
    QVERIFY(log[0].endsWith(QStringLiteral(" SELECT D_REG.* FROM D_REG ORDER BY REG_ID")));
}

void TestDatabase::updatableResultSet()
{
    Recordset rs = gMst->GetDynamicRst(QStringLiteral("SELECT M_FMR.* FROM M_FMR WHERE FMR_ID=12"));
    QVERIFY(rs.EOF_());
    rs.AddNew();
    rs.setField(QStringLiteral("FMR_ID"), Variant(12));
    rs.setField(QStringLiteral("FMR_NM"), Variant(QStringLiteral("山田 太郎")));
    rs.setField(QStringLiteral("FEE_1"), Variant(money("330")));
    rs.Update();
    rs.Close();
    QCOMPARE(gMst->DLookup(QStringLiteral("FEE_1"), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID=12")).toCurrency(), money("330"));

    Recordset edit = gMst->GetDynamicRst(QStringLiteral("SELECT M_FMR.* FROM M_FMR WHERE FMR_ID=12"));
    edit.setField(QStringLiteral("ADRS"), Variant(QStringLiteral("みのり町1-2")));
    edit.setField(QStringLiteral("FEE_1"), Variant::null());
    edit.Update();
    QCOMPARE(gMst->DLookup(QStringLiteral("ADRS"), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID=12")).toString(),
             QStringLiteral("みのり町1-2"));
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
        gDb->EXEC(saleHeader(1, "2024-04-01 00:00:00", "100"));
        gDb->EXEC(saleLine(1, 1, QStringLiteral("トマト"), "100"));
        throw DbError(QStringLiteral("abandoned"));
    } catch (const DbError &) {
    }
    QVERIFY(!gDb->connection()->inTransaction());
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 0);
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG_DTL")).toLong(), 0);

    gDb->Begintrans();
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->Begintrans());
    gDb->EXEC(saleHeader(1, "2024-04-01 00:00:00", "100"));
    gDb->EXEC(saleHeader(2, "2024-04-01 00:00:00", "100"));
    gDb->CommitTrans();
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 2);
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->CommitTrans());

    // A duplicate key fails as an engine error; the first row stays.
    QVERIFY_THROWS_EXCEPTION(DbError, gDb->EXEC(saleHeader(1, "2024-04-01 00:00:00", "100")));

    long affected = -1;
    gDb->EXEC(QStringLiteral("UPDATE D_REG SET RCV=100 WHERE SALES_DATE=#2024-04-01 00:00:00#"), &affected);
    QCOMPARE(affected, 2L); // rows matched, even where nothing changed
    gDb->EXEC(QStringLiteral("DELETE D_REG.* FROM D_REG WHERE D_REG.REG_ID=2"), &affected);
    QCOMPARE(affected, 1L);
    gDb->EXEC(QStringLiteral("DELETE D_REG.* FROM D_REG WHERE D_REG.REG_ID=2"), &affected);
    QCOMPARE(affected, 0L);
}

void TestDatabase::deletesThroughJoinsAndCopies()
{
    gDb->EXEC(saleHeader(1, "2024-04-01 00:00:00", "300"));
    gDb->EXEC(saleLine(1, 1, QStringLiteral("トマト"), "100"));
    gDb->EXEC(saleLine(1, 2, QStringLiteral("なす"), "200"));
    gDb->EXEC(saleHeader(2, "2024-04-02 00:00:00", "50"));
    gDb->EXEC(saleLine(2, 1, QStringLiteral("ねぎ"), "50"));
    const QString day = QStringLiteral("#2024-04-01 00:00:00#");
    long affected = 0;
    gDb->EXEC(QStringLiteral("INSERT INTO B_REG  SELECT D_REG.*  FROM D_REG  WHERE D_REG.SALES_DATE=") + day, &affected);
    QCOMPARE(affected, 1L);
    gDb->EXEC(QStringLiteral("INSERT INTO B_REG_DTL  SELECT D_REG_DTL.*  FROM D_REG_DTL  LEFT JOIN D_REG ON "
                             "D_REG_DTL.REG_ID=D_REG.REG_ID WHERE D_REG.SALES_DATE=") + day, &affected);
    QCOMPARE(affected, 2L);
    gDb->EXEC(QStringLiteral("DELETE D_REG_DTL.* FROM D_REG_DTL  LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID "
                             "WHERE D_REG.SALES_DATE=") + day, &affected);
    QCOMPARE(affected, 2L);
    QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG_DTL")).toLong(), 1);
    QCOMPARE(gDb->DLookup(QStringLiteral("BCD_NM"), QStringLiteral("B_REG_DTL"), QStringLiteral("REG_ID=1 AND DTL_NO=2")).toString(),
             QStringLiteral("なす"));
    QCOMPARE(gDb->DLookup(QStringLiteral("AMT_SUM"), QStringLiteral("B_REG"), QStringLiteral("REG_ID=1")).toCurrency(), money("300"));
}

void TestDatabase::controlValues()
{
    QVERIFY(gMst->GetCtrl(QStringLiteral("NEVER_SAVED")).isEmpty());
    QCOMPARE(Nz(gMst->GetCtrl(QStringLiteral("NEVER_SAVED")), Variant(0)).toLong(), 0);
    QCOMPARE(gMst->GetCtrl(QStringLiteral("FEE_RT")).toString(), QStringLiteral("0.15")); // untyped: text

    const auto typed = [](const char *key, const char *value, int type) {
        gMst->EXEC(QStringLiteral("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE, CTRL_TYPE) VALUES ('%1', '%2', %3)")
                       .arg(QString::fromLatin1(key), QString::fromLatin1(value)).arg(type));
    };
    typed("T_LONG", "12", 4);
    typed("T_DATE", "2024/04/01 00:00:00", 8);
    typed("T_BOOL", "True", 1);
    typed("T_MONEY", "0.08", 5);
    typed("T_BYTE", "300", 2);
    QCOMPARE(gMst->GetCtrl(QStringLiteral("T_LONG")), Variant(12));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("T_DATE")).kind(), Variant::Kind::Date);
    QCOMPARE(gMst->GetCtrl(QStringLiteral("T_DATE")).toDate(), 45383.0);
    QCOMPARE(gMst->GetCtrl(QStringLiteral("T_BOOL")), Variant(true));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("T_MONEY")), Variant(money("0.08")));
    // A value that does not fit its type fails like any other read: a message, and Empty.
    QVERIFY(gMst->GetCtrl(QStringLiteral("T_BYTE")).isEmpty());
    QCOMPARE(m_program->messages().shown().size(), 1);

    QVERIFY(gMst->SaveCtrl(QStringLiteral("T_BOOL"), Variant(false)));
    QCOMPARE(gMst->DLookup(QStringLiteral("CTRL_VALUE"), QStringLiteral("S_CTRL"), QStringLiteral("CTRL_CD='T_BOOL'")).toString(),
             QStringLiteral("False"));
    QVERIFY(gMst->SaveCtrl(QStringLiteral("T_DATE"), Variant::date(45383.5)));
    QCOMPARE(gMst->DLookup(QStringLiteral("CTRL_VALUE"), QStringLiteral("S_CTRL"), QStringLiteral("CTRL_CD='T_DATE'")).toString(),
             QStringLiteral("2024/04/01 12:00:00"));
    QVERIFY(gMst->SaveCtrl(QStringLiteral("COM_NM"), Variant(QString())));
    QVERIFY(gMst->GetCtrl(QStringLiteral("COM_NM")).isNull()); // Null, not Empty

    // A new key keeps its text and no type.
    QVERIFY(gIni->SaveCtrl(QStringLiteral("NEW_SWITCH"), Variant(QStringLiteral("1"))));
    QCOMPARE(gIni->GetCtrl(QStringLiteral("NEW_SWITCH")), Variant(QStringLiteral("1")));
    QVERIFY(gIni->DLookup(QStringLiteral("CTRL_TYPE"), QStringLiteral("S_CTRL"), QStringLiteral("CTRL_CD='NEW_SWITCH'")).isNull());

    // Quotes in keys and values are stored as they are.
    const QString message = QStringLiteral("Farmer's market 'special' #1");
    QVERIFY(gMst->SaveCtrl(QStringLiteral("RCPT_MSG1"), Variant(message)));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("RCPT_MSG1")).toString(), message);
    QVERIFY(gMst->SaveCtrl(QStringLiteral("ODD'KEY"), Variant(QStringLiteral("x"))));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("ODD'KEY")).toString(), QStringLiteral("x"));
    QCOMPARE(gMst->DCount(QStringLiteral("*"), QStringLiteral("S_CTRL"), QStringLiteral("CTRL_CD='ODD''KEY'")).toLong(), 1);
}

void TestDatabase::controlValueFailures()
{
    gDb->EXEC(QStringLiteral("DROP TABLE S_CTRL"));
    QVERIFY(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).isEmpty());
    QVERIFY(!gDb->SaveCtrl(QStringLiteral("NEW_REG_ID"), Variant(5)));
    const auto &shown = m_program->messages().shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].flags, int(Msg::Critical));
    QCOMPARE(shown[0].title, QStringLiteral("Marveno"));
    QVERIFY(shown[0].prompt.contains(QRegularExpression(QStringLiteral("\\(-?\\d+\\)$"))));
}

void TestDatabase::localSettings()
{
    QCOMPARE(gIni->DB_TYPE(), m_onServer ? QStringLiteral("1") : QStringLiteral("2"));
    if (m_onServer) {
        QCOMPARE(gIni->DB_NAME(), QStringLiteral("vantle_trn")); // server names are never resolved
        QCOMPARE(gIni->MST_DSN(), qEnvironmentVariable("VANTLE_TEST_MARIADB_DSN"));
    } else {
        QCOMPARE(gIni->DB_NAME(), m_program->path(QStringLiteral("regi.mdb")));
        QCOMPARE(gIni->MST_NAME(), m_program->path(QStringLiteral("mst.mdb")));
        QCOMPARE(gIni->DB_DSN(), QString());
    }
    QCOMPARE(clsINI::ResolveName(QStringLiteral("regi.mdb"), QStringLiteral("2")), m_program->path(QStringLiteral("regi.mdb")));
    QCOMPARE(clsINI::ResolveName(QStringLiteral("gone.mdb"), QStringLiteral("2")), QString());
    QCOMPARE(clsINI::ResolveName(QStringLiteral("regi"), QStringLiteral("1")), QStringLiteral("regi"));
    QCOMPARE(clsINI::ResolveName(m_program->path(QStringLiteral("mst.mdb")), QStringLiteral("2")),
             m_program->path(QStringLiteral("mst.mdb")));
    QCOMPARE(clsINI::ResolveName(QStringLiteral("\\\\server\\share\\regi.mdb"), QStringLiteral("2")), QString());
    QCOMPARE(clsINI::ResolveName(QStringLiteral("x"), QStringLiteral("2")), QString());

    // Switches: a missing row reads as off, a stored "1" as on.
    QCOMPARE(int(Val(Nz(gIni->GetCtrl(QStringLiteral("NO_SUCH_SWITCH")), Variant(0)).toString())), 0);
    QCOMPARE(int(Val(Nz(gIni->GetCtrl(QStringLiteral("DAILY_ADJ")), Variant(0)).toString())), 1);

    QCOMPARE(ConnectionText::file(QStringLiteral("/p/regi.mdb"), QString(), QString(), QString()),
             QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"/p/regi.mdb\";User ID=;Password=;"));
    QVERIFY(ConnectionText::file(QStringLiteral("a"), QStringLiteral("admin"), QString(), QStringLiteral("5274"))
                .endsWith(QStringLiteral("User ID=admin;Password=;Jet OLEDB:Database Password=5274;")));
    QCOMPARE(ConnectionText::server(QStringLiteral("shop"), QString(), QStringLiteral("regi"), QStringLiteral("u"), QStringLiteral("p")),
             QStringLiteral("DSN=shop;SERVER=;DB=regi;UID=u;PWD=p;"));
}

VANTLE_TEST_BOTH_ENGINES(TestDatabase)

#include "test_database.moc"
