// When a producer closing period ends and when it is paid: daily, weekly and monthly closing with month ends
// and the weekend shift, and the settings they are read from.
#include "base/DateValue.h"
#include "base/Format.h"
#include "data/Globals.h"
#include "data/clsMst.h"
#include "settlement/ClosingRules.h"
#include "support/TestProgram.h"

#include <QTest>

namespace {

double day(int y, int m, int d)
{
    return DateValue::fromParts(y, m, d);
}

QString text(double date)
{
    return date == 0 ? QStringLiteral("zero") : Format::date(date, QStringLiteral("yyyy-mm-dd(aaa)"));
}

ClosingRules monthly(int m1, int m2 = 0, int m3 = 0)
{
    ClosingRules r;
    r.type = ClosingRules::Monthly;
    r.month[0] = m1;
    r.month[1] = m2;
    r.month[2] = m3;
    return r;
}

ClosingRules weekly(int w1, int w2 = 0)
{
    ClosingRules r;
    r.type = ClosingRules::Weekly;
    r.week[0] = w1;
    r.week[1] = w2;
    return r;
}

} // namespace

Q_DECLARE_METATYPE(ClosingRules)

class TestClosingRules : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_program = std::make_unique<TestProgram>(); }
    void cleanup() { m_program.reset(); }

    void monthlyClosingDays_data();
    void monthlyClosingDays();
    void monthlyPaymentDays_data();
    void monthlyPaymentDays();
    void weeklyClosing();
    void dailyClosing();
    void missingSettingsAreNamed();
    void settingsComeFromTheMaster();

private:
    std::unique_ptr<TestProgram> m_program;
};

void TestClosingRules::monthlyClosingDays_data()
{
    QTest::addColumn<ClosingRules>("rules");
    QTest::addColumn<double>("sales");
    QTest::addColumn<double>("closing");
    const ClosingRules tenth25 = monthly(10, 25);
    QTest::newRow("before the 10th") << tenth25 << day(2024, 3, 5) << day(2024, 3, 10);
    QTest::newRow("on the 10th") << tenth25 << day(2024, 3, 10) << day(2024, 3, 10);
    QTest::newRow("after the 10th") << tenth25 << day(2024, 3, 11) << day(2024, 3, 25);
    QTest::newRow("after the 25th: next month") << tenth25 << day(2024, 3, 26) << day(2024, 4, 10);
    QTest::newRow("month end, leap February") << monthly(31) << day(2024, 2, 10) << day(2024, 2, 29);
    QTest::newRow("month end, February 2023") << monthly(28) << day(2023, 2, 10) << day(2023, 2, 28);
    QTest::newRow("28 is the month end, not the 28th") << monthly(28) << day(2024, 2, 28) << day(2024, 2, 29);
    QTest::newRow("last day: the 27th is past") << monthly(27) << day(2024, 2, 29) << day(2024, 3, 27);
    QTest::newRow("last day of a 30-day month") << monthly(25, 31) << day(2024, 4, 30) << day(2024, 4, 30);
    QTest::newRow("month end closing on the last day") << monthly(99) << day(2024, 1, 31) << day(2024, 1, 31);
    QTest::newRow("third closing day") << monthly(5, 10, 20) << day(2024, 3, 15) << day(2024, 3, 20);
    QTest::newRow("no closing day: zero, silently") << monthly(0) << day(2024, 3, 5) << 0.0;
}

void TestClosingRules::monthlyClosingDays()
{
    QFETCH(ClosingRules, rules);
    QFETCH(double, sales);
    QFETCH(double, closing);
    QCOMPARE(text(rules.closingDate(sales)), text(closing));
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestClosingRules::monthlyPaymentDays_data()
{
    QTest::addColumn<ClosingRules>("rules");
    QTest::addColumn<double>("closing");
    QTest::addColumn<double>("payment");
    ClosingRules r = monthly(10);
    r.monthSite[0] = 1;
    r.monthPay[0] = 5;
    QTest::newRow("next month's 5th, a Friday") << r << day(2024, 3, 10) << day(2024, 4, 5);
    r.monthPay[0] = 6;
    QTest::newRow("a Saturday moves to Monday") << r << day(2024, 3, 10) << day(2024, 4, 8);
    r.monthPay[0] = 7;
    QTest::newRow("a Sunday moves to Monday") << r << day(2024, 3, 10) << day(2024, 4, 8);
    r.monthPay[0] = 31;
    QTest::newRow("day 31 in a 30-day month") << r << day(2024, 3, 10) << day(2024, 4, 30);
    r.monthPay[0] = 28;
    QTest::newRow("day 28 is the month end") << r << day(2024, 3, 10) << day(2024, 4, 30);
    r.monthSite[0] = 2;
    r.monthPay[0] = 27;
    QTest::newRow("two months on") << r << day(2024, 3, 10) << day(2024, 5, 27);

    // The demo shop: the 15th paid the 25th, the month end paid the 10th of the next month.
    ClosingRules shop = monthly(15, 31);
    shop.monthPay[0] = 25;
    shop.monthSite[1] = 1;
    shop.monthPay[1] = 10;
    QTest::newRow("second closing, second set") << shop << day(2024, 4, 30) << day(2024, 5, 10);
    QTest::newRow("first closing, same month") << shop << day(2024, 4, 15) << day(2024, 4, 25);
    QTest::newRow("25 May 2024 is a Saturday") << shop << day(2024, 5, 15) << day(2024, 5, 27);
}

void TestClosingRules::monthlyPaymentDays()
{
    QFETCH(ClosingRules, rules);
    QFETCH(double, closing);
    QFETCH(double, payment);
    QCOMPARE(text(rules.paymentDate(closing)), text(payment));
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestClosingRules::weeklyClosing()
{
    // Closing on Saturday, paid on the following week's Thursday.
    ClosingRules r = weekly(7);
    r.weekSite[0] = 1;
    r.weekPay[0] = 5;
    for (int d = 3; d <= 9; ++d) // Sunday 3 March .. Saturday 9 March 2024
        QCOMPARE(text(r.closingDate(day(2024, 3, d))), text(day(2024, 3, 9)));
    QCOMPARE(text(r.closingDate(day(2024, 3, 10))), text(day(2024, 3, 16)));
    QCOMPARE(text(r.paymentDate(day(2024, 3, 9))), text(day(2024, 3, 14)));

    // Wednesday and Saturday closings with their own payment days; after the last one, the first of next week.
    ClosingRules two = weekly(4, 7);
    two.weekSite[0] = 0;
    two.weekPay[0] = 6; // Friday of the same week
    two.weekSite[1] = 1;
    two.weekPay[1] = 3; // Tuesday of next week
    QCOMPARE(text(two.closingDate(day(2024, 3, 5))), text(day(2024, 3, 6)));
    QCOMPARE(text(two.closingDate(day(2024, 3, 7))), text(day(2024, 3, 9)));
    QCOMPARE(text(two.paymentDate(day(2024, 3, 6))), text(day(2024, 3, 8)));
    QCOMPARE(text(two.paymentDate(day(2024, 3, 9))), text(day(2024, 3, 12)));
    ClosingRules early = weekly(2, 4); // Monday and Wednesday
    QCOMPARE(text(early.closingDate(day(2024, 3, 8))), text(day(2024, 3, 11)));
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestClosingRules::dailyClosing()
{
    ClosingRules r;
    r.siteDay = 3;
    QCOMPARE(text(r.closingDate(day(2024, 3, 7))), text(day(2024, 3, 7)));
    // Thursday + 3 = Sunday, paid Monday.
    QCOMPARE(text(r.paymentDate(day(2024, 3, 7))), text(day(2024, 3, 11)));
    r.siteDay = 1;
    QCOMPARE(text(r.paymentDate(day(2024, 3, 7))), text(day(2024, 3, 8)));
    // Any type other than weekly or monthly closes daily, the unchosen 0 as well.
    r.type = 0;
    QCOMPARE(text(r.closingDate(day(2024, 3, 9))), text(day(2024, 3, 9)));
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestClosingRules::missingSettingsAreNamed()
{
    // A rule without a date gives the zero date and names the row of 支払情報 to fix; the caller tells.
    QString problem;
    QCOMPARE(weekly(0).closingDate(day(2024, 3, 6), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払情報の「週締１」に締曜日が設定されていません。"));
    QCOMPARE(monthly(0).paymentDate(day(2024, 3, 10), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払情報の「月締１」に締日が設定されていません。"));

    // A payment date before the closing date: paid on the 5th of the closing month, or a Monday of the
    // closing week for a Wednesday closing.
    ClosingRules early = monthly(10);
    early.monthPay[0] = 5;
    QCOMPARE(early.paymentDate(day(2024, 3, 10), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払日 2024/03/05 が締日 2024/03/10 より前になります。"
                                     "支払情報の「月締１」のサイト月か支払日を直して下さい。"));
    ClosingRules monday = weekly(1, 4);
    monday.weekPay[1] = 2;
    QCOMPARE(monday.paymentDate(day(2024, 3, 6), &problem), 0.0);
    QVERIFY(problem.contains(QStringLiteral("「週締２」のサイト週か支払曜日")));
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestClosingRules::settingsComeFromTheMaster()
{
    m_program->createDatabases();
    m_program->openAll();
    // The new shop's settings: the 15th paid the 25th, the month end paid the 10th of the next month.
    QCOMPARE(text(GetClsDate(day(2024, 4, 20))), text(day(2024, 4, 30)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 30))), text(day(2024, 5, 10)));
    // Three closings a month, each paid by its own row: the 5th, the 15th and the month end.
    gMst->SaveCtrl(QStringLiteral("CLS_M_1"), Variant(QStringLiteral("5")));
    gMst->SaveCtrl(QStringLiteral("CLS_M_2"), Variant(QStringLiteral("15")));
    gMst->SaveCtrl(QStringLiteral("CLS_M_3"), Variant(QStringLiteral("31")));
    gMst->SaveCtrl(QStringLiteral("CLS_M_SITE3"), Variant(QStringLiteral("2")));
    gMst->SaveCtrl(QStringLiteral("CLS_M_PAY3"), Variant(QStringLiteral("20")));
    QCOMPARE(text(GetClsDate(day(2024, 4, 20))), text(day(2024, 4, 30)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 30))), text(day(2024, 6, 20)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 15))), text(day(2024, 5, 10)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 5))), text(day(2024, 4, 25)));

    // Read afresh on every call; a missing closing type is daily closing, other missing values 0.
    gMst->EXEC(QStringLiteral("DELETE FROM S_CTRL WHERE CTRL_CD LIKE 'CLS_%'"));
    QCOMPARE(text(GetClsDate(day(2024, 4, 20))), text(day(2024, 4, 20)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 19))), text(day(2024, 4, 19)));
    gMst->SaveCtrl(QStringLiteral("CLS_TYPE"), Variant(QStringLiteral("2")));
    gMst->SaveCtrl(QStringLiteral("CLS_W_1"), Variant(QStringLiteral("7")));
    gMst->SaveCtrl(QStringLiteral("CLS_W_SITE1"), Variant(QStringLiteral("1")));
    gMst->SaveCtrl(QStringLiteral("CLS_W_PAY1"), Variant(QStringLiteral("5")));
    QCOMPARE(text(GetClsDate(day(2024, 4, 17))), text(day(2024, 4, 20)));
    QCOMPARE(text(GetPayDate(day(2024, 4, 20))), text(day(2024, 4, 25)));
    gMst->SaveCtrl(QStringLiteral("CLS_TYPE"), Variant::null());
    QCOMPARE(text(GetClsDate(day(2024, 4, 17))), text(day(2024, 4, 17)));
    QVERIFY(m_program->messages().shown().isEmpty());
    // Without a closing weekday the operator is told.
    gMst->SaveCtrl(QStringLiteral("CLS_TYPE"), Variant(QStringLiteral("2")));
    gMst->SaveCtrl(QStringLiteral("CLS_W_1"), Variant(QStringLiteral("0")));
    QCOMPARE(GetClsDate(day(2024, 4, 17)), 0.0);
    QCOMPARE(GetPayDate(day(2024, 4, 17)), 0.0);
    QCOMPARE(m_program->messages().prompts(), (QStringList{QStringLiteral("締日取得エラー"), QStringLiteral("支払日取得エラー")}));
    QCOMPARE(m_program->messages().shown().first().flags, int(Msg::Critical));
}

QTEST_GUILESS_MAIN(TestClosingRules)
#include "test_closing_rules.moc"
