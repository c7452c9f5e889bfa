// The conversions behind the settings dialogs, and the one-transaction save of a dialog's keys.
#include "data/Connection.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "settings/SettingValues.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include <QTest>
#include <array>

using namespace SettingValues;

class TestSettingValues : public QObject
{
    Q_OBJECT

private slots:
    void conversions();
    void largestRegIdAndAllOrNothingSave();
};

void TestSettingValues::conversions()
{
    // Margins are stored in twips and shown in centimetres, 1.005 cm rounding up.
    const QList<std::pair<const char *, const char *>> margins{
        {"567", "1.00"}, {"850.5", "1.50"}, {"569.835", "1.01"}, {"569.8", "1.00"}, {"abc", "0.00"}, {"", ""}};
    for (const auto &[stored, shown] : margins)
        QCOMPARE(MarginForDisplay(QString::fromLatin1(stored)), QString::fromLatin1(shown));
    QCOMPARE(MarginForStore(QStringLiteral("1.5cm")), QStringLiteral("850.5"));
    QCOMPARE(MarginForStore(QStringLiteral("abc")), QStringLiteral("0"));
    QCOMPARE(MarginForStore(QString()), QString());
    QVERIFY_THROWS_EXCEPTION(std::exception, MarginForStore(QStringLiteral("9e300")));

    // Rates are typed in percent and stored as a fraction of two decimals: typed, stored, shown again.
    const QList<std::array<const char *, 3>> rates{{"8", "0.08", "8.0"}, {"8.5", "0.09", "9.0"}, {"8.49", "0.08", "8.0"},
                                                   {"10", "0.1", "10.0"}, {"abc", "0", "0.0"}, {"", "", ""}};
    for (const auto &[typed, stored, shown] : rates) {
        QCOMPARE(RateForStore(QString::fromLatin1(typed)), QString::fromLatin1(stored));
        QCOMPARE(RateForDisplay(QString::fromLatin1(stored)), QString::fromLatin1(shown));
    }

    // The change fund: counts of the ten denominations, whatever is typed.
    QCOMPARE(ChangeFundTotal(QStringList{"", "", "", "10", "", "20"}), Currency::fromInt(12000));
    const QStringList full{"999", "999", "999", "999", "999", "999", "999", "999", "999", "999"};
    QCOMPARE(ChangeFundTotal(full), Currency::fromInt(999 * 18666));
    QCOMPARE(ChangeFundTotal({QStringLiteral("x1"), QStringLiteral("1x")}), Currency::fromInt(5000));
}

void TestSettingValues::largestRegIdAndAllOrNothingSave()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    // The open sales win even when a closed day carries a larger number; without open sales the closed ones count.
    QCOMPARE(LargestRegId(*gDb), 0);
    Rows::sale(150, Rows::day(2024, 4, 1), {{1, "1", "100"}});
    gDb->EXEC(QStringLiteral("INSERT INTO B_REG SELECT * FROM D_REG"));
    gDb->EXEC(QStringLiteral("DELETE FROM D_REG"));
    QCOMPARE(LargestRegId(*gDb), 150);
    Rows::sale(120, Rows::day(2024, 4, 1), {{1, "1", "100"}});
    Rows::sale(7, Rows::day(2024, 4, 1), {{1, "1", "100"}});
    QCOMPARE(LargestRegId(*gDb), 120);

    QVERIFY(SaveCtrlValues(*gMst, {{"COM_NM", "山田's 直売所"}, {"COM_OMT", ""}, {"NEW_KEY", "1"}}));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("NEW_KEY")).toString(), QStringLiteral("1"));
    // A truth-typed row refuses a text that is no truth value: the keys before it are rolled back.
    gMst->EXEC(QStringLiteral("UPDATE S_CTRL SET CTRL_TYPE=1 WHERE CTRL_CD='PRINT_FWD'"));
    QVERIFY(!SaveCtrlValues(*gMst, {{"COM_NM", "changed"}, {"PRINT_FWD", "maybe"}, {"COM_OMT", "x"}}));
    QCOMPARE(gMst->GetCtrl(QStringLiteral("COM_NM")).toString(), QStringLiteral("山田's 直売所"));
    QVERIFY(gMst->GetCtrl(QStringLiteral("COM_OMT")).isNull());
    QVERIFY(!gMst->connection()->inTransaction());
    QCOMPARE(program.messages().shown().size(), 1); // SaveCtrl's own report
}

QTEST_GUILESS_MAIN(TestSettingValues)

#include "test_setting_values.moc"
