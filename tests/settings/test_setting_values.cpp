// The conversions behind the settings dialogs, and the one-transaction save of a dialog's keys.
#include "base/Format.h"
#include "data/Connection.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "settings/SettingValues.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace SettingValues;

class TestSettingValues : public QObject
{
    Q_OBJECT

private slots:
    void margins_data();
    void margins();
    void rates_data();
    void rates();
    void changeFund();
    void largestRegId();
    void saveIsAllOrNothing();
};

void TestSettingValues::margins_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one centimetre") << "567" << "1.00";
    QTest::newRow("fraction of a twip") << "850.5" << "1.50";
    QTest::newRow("rounds half up") << "569.835" << "1.01"; // 1.005 cm exactly
    QTest::newRow("just below half") << "569.8" << "1.00";
    QTest::newRow("zero") << "0" << "0.00";
    QTest::newRow("not a number") << "abc" << "0.00";
    QTest::newRow("never saved") << "" << "";
}

void TestSettingValues::margins()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(MarginForDisplay(stored), shown);
    // Typing back what is shown stores the twips of the shown centimetres.
    QCOMPARE(MarginForStore(QStringLiteral("2")), QStringLiteral("1134"));
    QCOMPARE(MarginForStore(QStringLiteral("1.5")), QStringLiteral("850.5"));
    QCOMPARE(MarginForStore(QStringLiteral("1.5cm")), QStringLiteral("850.5"));
    QCOMPARE(MarginForStore(QStringLiteral("abc")), QStringLiteral("0"));
    QCOMPARE(MarginForStore(QString()), QString());
    QVERIFY_THROWS_EXCEPTION(std::exception, MarginForStore(QStringLiteral("9e300")));
}

void TestSettingValues::rates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shownAgain");
    QTest::newRow("whole percent") << "8" << "0.08" << "8.0";
    QTest::newRow("half rounds up") << "8.5" << "0.09" << "9.0";
    QTest::newRow("just below half") << "8.49" << "0.08" << "8.0";
    QTest::newRow("ten") << "10" << "0.1" << "10.0";
    QTest::newRow("not a number") << "abc" << "0" << "0.0";
    QTest::newRow("empty") << "" << "" << "";
}

void TestSettingValues::rates()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, shownAgain);
    QCOMPARE(RateForStore(typed), stored);
    QCOMPARE(RateForDisplay(stored), shownAgain);
}

void TestSettingValues::changeFund()
{
    QStringList counts(10);
    counts[3] = QStringLiteral("10");
    counts[5] = QStringLiteral("20");
    QCOMPARE(Format::number(ChangeFundTotal(counts), QStringLiteral("#,##0")), QStringLiteral("12,000"));
    const QStringList full{"999", "999", "999", "999", "999", "999", "999", "999", "999", "999"};
    QCOMPARE(ChangeFundTotal(full), Currency::fromInt(999 * 18666));
    QCOMPARE(ChangeFundTotal({QStringLiteral("x1"), QStringLiteral("1x")}), Currency::fromInt(5000));
}

void TestSettingValues::largestRegId()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    const auto sale = [](const char *table, int id) {
        gDb->EXEC(QStringLiteral("INSERT INTO %1 (REG_ID, REG_NO, REG_DTM, SALES_DATE, DTL_CNT, AMT_SUM, RCV, CHG) "
                                 "VALUES (%2, %2, #2024-04-01 09:00:00#, #2024-04-01 00:00:00#, 1, 100, 100, 0)")
                      .arg(QString::fromLatin1(table))
                      .arg(id));
    };
    QCOMPARE(LargestRegId(*gDb), 0);
    sale("B_REG", 150);
    QCOMPARE(LargestRegId(*gDb), 150);
    // The open sales win even when a closed day carries a larger number.
    sale("D_REG", 120);
    sale("D_REG", 7);
    QCOMPARE(LargestRegId(*gDb), 120);
}

void TestSettingValues::saveIsAllOrNothing()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    QVERIFY(SaveCtrlValues(*gMst, {{"COM_NM", "山田's 直売所"}, {"COM_OMT", ""}, {"NEW_KEY", "1"}}));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("COM_NM")).toString(), QStringLiteral("山田's 直売所"));
    QVERIFY(gMst->GetCtrl(QStringLiteral("COM_OMT")).isNull());
    QCOMPARE(gMst->GetCtrl(QStringLiteral("NEW_KEY")).toString(), QStringLiteral("1"));

    // A truth-typed row refuses a text that is no truth value: the keys before it are rolled back.
    gMst->EXEC(QStringLiteral("UPDATE S_CTRL SET CTRL_TYPE=1 WHERE CTRL_CD='PRINT_FWD'"));
    QVERIFY(!SaveCtrlValues(*gMst, {{"COM_NM", "changed"}, {"PRINT_FWD", "maybe"}, {"COM_OMT", "x"}}));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("COM_NM")).toString(), QStringLiteral("山田's 直売所"));
    QVERIFY(gMst->GetCtrl(QStringLiteral("COM_OMT")).isNull());
    QVERIFY(!gMst->connection()->inTransaction());
    QCOMPARE(program.messages().shown().size(), 1); // SaveCtrl's own report
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TestSettingValues test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_setting_values.moc"
