// When a producer closing period ends and when it is paid: daily, weekly and monthly closing with month ends,
// three monthly sets and the weekend shift, and the settings they are read from.
#include "support/Rows.h"

#include "base/Format.h"
#include "base/MessagePresenter.h"
#include "data/Globals.h"
#include "data/clsMst.h"
#include "settlement/ClosingRules.h"
#include "support/TestProgram.h"

#include <QTest>
#include <array>

using namespace Rows;

namespace {

QString text(double date)
{
    return date == 0 ? QStringLiteral("zero") : Format::date(date, QStringLiteral("yyyy-mm-dd(aaa)"));
}

ClosingRules monthly(std::array<int, 3> day, std::array<int, 3> site = {}, std::array<int, 3> pay = {})
{
    ClosingRules r;
    r.type = ClosingRules::Monthly;
    for (int i = 0; i < 3; ++i) {
        r.month[i] = day[i];
        r.monthSite[i] = site[i];
        r.monthPay[i] = pay[i];
    }
    return r;
}

ClosingRules weekly(std::array<int, 2> day, std::array<int, 2> site = {}, std::array<int, 2> pay = {})
{
    ClosingRules r;
    r.type = ClosingRules::Weekly;
    for (int i = 0; i < 2; ++i) {
        r.week[i] = day[i];
        r.weekSite[i] = site[i];
        r.weekPay[i] = pay[i];
    }
    return r;
}

// Control values of the master, one after the other.
void masterRows(std::initializer_list<std::pair<const char *, const char *>> rows)
{
    for (const auto &[key, value] : rows)
        master(key, QString::fromLatin1(value));
}

ClosingRules daily(int type, int siteDay)
{
    ClosingRules r;
    r.type = type;
    r.siteDay = siteDay;
    return r;
}

} // namespace

Q_DECLARE_METATYPE(ClosingRules)

class TestClosingRules : public QObject
{
    Q_OBJECT

private slots:
    void closingAndPayment_data();
    void closingAndPayment();
    void missingSettingsAreNamed();
    void settingsComeFromTheMaster();
};

void TestClosingRules::closingAndPayment_data()
{
    QTest::addColumn<ClosingRules>("rules");
    QTest::addColumn<double>("sales");
    QTest::addColumn<double>("closing");
    QTest::addColumn<double>("payment");
    // The new shop: the 15th paid the 25th, the month end paid the 10th of the next month.
    const ClosingRules shop = monthly({15, 31, 0}, {0, 1, 0}, {25, 10, 0});
    QTest::newRow("before the 15th") << shop << day(2024, 4, 5) << day(2024, 4, 15) << day(2024, 4, 25);
    QTest::newRow("on the 15th") << shop << day(2024, 4, 15) << day(2024, 4, 15) << day(2024, 4, 25);
    QTest::newRow("second closing, second set") << shop << day(2024, 4, 16) << day(2024, 4, 30) << day(2024, 5, 10);
    QTest::newRow("25 May is a Saturday") << shop << day(2024, 5, 15) << day(2024, 5, 15) << day(2024, 5, 27);
    QTest::newRow("leap February, 10 March a Sunday") << shop << day(2024, 2, 20) << day(2024, 2, 29) << day(2024, 3, 11);
    // Three closings, each paid by its own set.
    const ClosingRules three = monthly({5, 15, 31}, {0, 1, 2}, {25, 10, 20});
    QTest::newRow("first of three") << three << day(2024, 4, 1) << day(2024, 4, 5) << day(2024, 4, 25);
    QTest::newRow("second of three") << three << day(2024, 4, 12) << day(2024, 4, 15) << day(2024, 5, 10);
    QTest::newRow("third of three") << three << day(2024, 4, 20) << day(2024, 4, 30) << day(2024, 6, 20);
    QTest::newRow("after the last: next month's first") << monthly({10, 25, 0}, {1, 1, 0}, {6, 20, 0}) << day(2024, 3, 26)
                                                        << day(2024, 4, 10) << day(2024, 5, 6);
    // Closing days above 27 are the month end; so are payment days from 28 on.
    QTest::newRow("28 in February 2023") << monthly({28, 0, 0}, {1, 0, 0}, {28, 0, 0}) << day(2023, 2, 10)
                                         << day(2023, 2, 28) << day(2023, 3, 31);
    QTest::newRow("28 is the month end, not the 28th") << monthly({28, 0, 0}, {1, 0, 0}, {25, 0, 0}) << day(2024, 2, 28)
                                                       << day(2024, 2, 29) << day(2024, 3, 25);
    QTest::newRow("the 27th is past") << monthly({27, 0, 0}, {0, 0, 0}, {31, 0, 0}) << day(2024, 2, 29)
                                      << day(2024, 3, 27) << day(2024, 4, 1);
    QTest::newRow("a 30-day month, paid the next month end") << monthly({25, 31, 0}, {0, 1, 0}, {0, 31, 0})
                                                              << day(2024, 4, 30) << day(2024, 4, 30) << day(2024, 5, 31);
    // Weekly: Saturday closing paid the next Thursday; Wednesday and Saturday closings with their own sets.
    const ClosingRules saturday = weekly({7, 0}, {1, 0}, {5, 0});
    QTest::newRow("Sunday to Saturday") << saturday << day(2024, 3, 3) << day(2024, 3, 9) << day(2024, 3, 14);
    QTest::newRow("on the Saturday") << saturday << day(2024, 3, 9) << day(2024, 3, 9) << day(2024, 3, 14);
    QTest::newRow("the next week") << saturday << day(2024, 3, 10) << day(2024, 3, 16) << day(2024, 3, 21);
    const ClosingRules twice = weekly({4, 7}, {0, 1}, {6, 3});
    QTest::newRow("Wednesday, paid Friday") << twice << day(2024, 3, 5) << day(2024, 3, 6) << day(2024, 3, 8);
    QTest::newRow("Saturday, paid Tuesday") << twice << day(2024, 3, 7) << day(2024, 3, 9) << day(2024, 3, 12);
    QTest::newRow("after both: next Monday") << weekly({2, 4}, {1, 0}, {2, 0}) << day(2024, 3, 8) << day(2024, 3, 11)
                                             << day(2024, 3, 18);
    // Daily: any type other than weekly or monthly, the unchosen 0 as well.
    QTest::newRow("daily, Sunday to Monday") << daily(1, 3) << day(2024, 3, 7) << day(2024, 3, 7) << day(2024, 3, 11);
    QTest::newRow("daily, next day") << daily(1, 1) << day(2024, 3, 7) << day(2024, 3, 7) << day(2024, 3, 8);
    QTest::newRow("type 0, Saturday") << daily(0, 0) << day(2024, 3, 9) << day(2024, 3, 9) << day(2024, 3, 11);
}

void TestClosingRules::closingAndPayment()
{
    QFETCH(ClosingRules, rules);
    QFETCH(double, sales);
    QFETCH(double, closing);
    QFETCH(double, payment);
    QString problem;
    QCOMPARE(text(rules.closingDate(sales, &problem)), text(closing));
    QCOMPARE(text(rules.paymentDate(closing, &problem)), text(payment));
    QCOMPARE(problem, QString());
}

void TestClosingRules::missingSettingsAreNamed()
{
    // A rule without a date gives the zero date and names the row of 支払情報 to fix; the caller tells.
    QString problem;
    QCOMPARE(weekly({0, 0}).closingDate(day(2024, 3, 6), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払情報の「週締１」に締曜日が設定されていません。"));
    QCOMPARE(monthly({0, 0, 0}).closingDate(day(2024, 3, 6), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払情報の「月締１」に締日が設定されていません。"));
    QCOMPARE(monthly({0, 0, 0}).paymentDate(day(2024, 3, 10), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払情報の「月締１」に締日が設定されていません。"));

    // A payment date before the closing date: the 5th of the closing month, a Monday for a Wednesday closing.
    QCOMPARE(monthly({10, 0, 0}, {}, {5, 0, 0}).paymentDate(day(2024, 3, 10), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払日 2024/03/05 が締日 2024/03/10 より前になります。"
                                     "支払情報の「月締１」のサイト月か支払日を直して下さい。"));
    QCOMPARE(weekly({1, 4}, {}, {0, 2}).paymentDate(day(2024, 3, 6), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払日 2024/03/04 が締日 2024/03/06 より前になります。"
                                     "支払情報の「週締２」のサイト週か支払曜日を直して下さい。"));
}

void TestClosingRules::settingsComeFromTheMaster()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    // Three closings a month from the master's rows; each read afresh.
    masterRows({{"CLS_M_1", "5"}, {"CLS_M_2", "15"}, {"CLS_M_3", "31"}, {"CLS_M_SITE2", "1"}, {"CLS_M_PAY2", "10"},
                {"CLS_M_SITE3", "2"}, {"CLS_M_PAY3", "20"}});
    QCOMPARE(text(GetClsDate(day(2024, 4, 10))), text(day(2024, 4, 15)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 15))), text(day(2024, 5, 10)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 30))), text(day(2024, 6, 20)));

    // Weekly from its rows; without a closing type, daily closing paid CLS_SITE_DAY days later.
    masterRows({{"CLS_TYPE", "2"}, {"CLS_W_1", "4"}, {"CLS_W_2", "7"}, {"CLS_W_SITE2", "1"}, {"CLS_W_PAY2", "3"},
                {"CLS_SITE_DAY", "1"}});
    QCOMPARE(text(GetClsDate(day(2024, 4, 18))), text(day(2024, 4, 20)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 20))), text(day(2024, 4, 23)));
    gMst->SaveCtrl(QStringLiteral("CLS_TYPE"), Variant::null());
    QCOMPARE(text(GetClsDate(day(2024, 4, 17))), text(day(2024, 4, 17)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 17))), text(day(2024, 4, 18)));
    QVERIFY(program.messages().shown().isEmpty());

    // Without a closing weekday the operator is told.
    masterRows({{"CLS_TYPE", "2"}, {"CLS_W_1", "0"}, {"CLS_W_2", "0"}});
    QCOMPARE(GetClsDate(day(2024, 4, 17)), 0.0);
    QCOMPARE(GetPayDate(day(2024, 4, 17)), 0.0);
    QCOMPARE(program.messages().prompts(), (QStringList{QStringLiteral("締日取得エラー"), QStringLiteral("支払日取得エラー")}));
    QCOMPARE(program.messages().shown().first().flags, int(Msg::Critical));
}

QTEST_GUILESS_MAIN(TestClosingRules)
#include "test_closing_rules.moc"
