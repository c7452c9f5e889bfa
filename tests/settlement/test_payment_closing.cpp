// The producer payment closing on a real database: commission and transfer fees, the payment lines and their
// summary, which unpaid days a closing settles, and a failure that leaves nothing behind. On SQLite and again on
// the MariaDB test server.
#include "support/BothEngines.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "settlement/PayCls.h"

#include <QTest>

using namespace Rows;

class TestPaymentClosing : public QObject
{
    Q_OBJECT

public:
    explicit TestPaymentClosing(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup() { m_program.reset(); }

    void paymentLinesAndSummary();
    void oneEndedPeriodPerCloseAndLateDays();
    void refusalAndFailureLeaveNothing();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
    const double m_cls = day(2024, 3, 10);
    const double m_pay = day(2024, 4, 5);
};

void TestPaymentClosing::init()
{
    m_program = TestProgram::opened(false, m_onServer, QDateTime(QDate(2024, 3, 10), QTime(18, 0)));
    producer(45, "220", "440");
}

// The payment lines and their summary; commission and transfer fees at their edges; the commission rate.
void TestPaymentClosing::paymentLinesAndSummary()
{
    producer(7, "110", "330");
    // Producer 45 sold on two days of the period (one line, summed), 7 on one, 999 (not in the master: no fee,
    // no account) on one. The commission is taken from the period's 12,350 yen (1,852.5), not day by day
    // (750.75 + 1,101.75: 750 + 1,101 = 1,851); a rate not set is 15 %.
    adjDtl(day(2024, 3, 4), 45, "10", "5005");
    adjDtl(day(2024, 3, 9), 45, "12.5", "7345");
    adjDtl(day(2024, 3, 9), 7, "3", "35293");
    adjDtl(day(2024, 3, 9), 999, "1", "12345");
    master("FEE_RT", QString()); // stored as Null
    QVERIFY(PayCls(*gDb, *gMst, m_cls, m_pay));

    // The account is a snapshot of the master, apostrophes and all.
    QCOMPARE(row(QStringLiteral("SELECT FMR_ID, CLS_DATE, PAY_DATE, SALES_QTY, SALES_AMT, FEE_AMT, PAY_AMT, BANK_FEE, "
                                "REAL_AMT, BANK_NM, ACC_NO, ACC_NM FROM D_PAY_DTL ORDER BY FMR_ID")),
             QStringLiteral("7|2024-03-10|2024-04-05|3|35293|5293|30000|330|29670|%1|0000007|ｵﾆｰﾙ'ﾉｳｴﾝ\n"
                            "45|2024-03-10|2024-04-05|22.5|12350|1852|10498|220|10278|%1|0000045|ｵﾆｰﾙ'ﾉｳｴﾝ\n"
                            "999|2024-03-10|2024-04-05|1|12345|1851|10494|0|10494|<null>|<null>|<null>")
                 .arg(kBankName));
    QCOMPARE(row(QStringLiteral("SELECT CLS_DATE, PAY_DATE, SALES_QTY_SUM, SALES_AMT_SUM, FEE_AMT_SUM, BANK_FEE_SUM, "
                                "REAL_AMT_SUM FROM D_PAY")),
             QStringLiteral("2024-03-10|2024-04-05|26.5|59988|8996|550|50442"));

    // Sales, commission at 15 % truncated toward zero, payable, transfer fee (220 under 30,000 payable, else
    // 440), transferred. (The fee from 30,000 on: producer 7 above.)
    for (const char *row : {"35292 5293 29999 220 29779", // 5,293.8
                            "100 15 85 220 -135",         // the fee eats the payment
                            "-1001 -150 -851 220 -1071"}) { // returns: -150.15
        const QStringList v = QString::fromLatin1(row).split(u' ');
        const PayAmounts p = ComputePay(*Currency::parse(v[0]), money("0.15"), true, Variant(money("220")), Variant(money("440")));
        QCOMPARE((QStringList{p.fee.toPlainText(), p.pay.toPlainText(), p.bankFee.toPlainText(), p.real.toPlainText()}),
                 v.mid(1));
    }
    // A Null fee is no fee.
    QCOMPARE(ComputePay(money("100"), money("0.15"), true, Variant::null(), Variant::null()).bankFee, Currency());

    // The rate as set, no commission included.
    const struct { const char *rate; int day; const char *fee; } rates[] = {{"0.08", 11, "800"}, {"0", 12, "0"}};
    for (const auto &r : rates) {
        master("FEE_RT", QString::fromLatin1(r.rate));
        adjDtl(day(2024, 3, r.day), 999, "1", "10000");
        QVERIFY(PayCls(*gDb, *gMst, day(2024, 3, r.day), m_pay));
        QCOMPARE(row(QStringLiteral("SELECT FEE_AMT FROM D_PAY_DTL WHERE ") + on(QStringLiteral("CLS_DATE"), day(2024, 3, r.day))),
                 QString::fromLatin1(r.fee));
    }
}

void TestPaymentClosing::oneEndedPeriodPerCloseAndLateDays()
{
    // Monthly closing on the 10th and the 25th; the shop was idle and closes on the 28th with two periods ended.
    for (const auto &[key, setting] : std::initializer_list<std::pair<const char *, const char *>>{
             {"CLS_TYPE", "3"}, {"CLS_M_1", "10"}, {"CLS_M_SITE1", "1"}, {"CLS_M_PAY1", "5"}, {"CLS_M_2", "25"},
             {"CLS_M_SITE2", "1"}, {"CLS_M_PAY2", "20"}})
        master(key, QString::fromLatin1(setting));
    adjDtl(day(2024, 3, 5), 45, "1", "1000");
    adjDtl(day(2024, 3, 20), 45, "2", "2000");
    adjDtl(day(2024, 3, 28), 45, "3", "3000");

    double cls = 0, pay = 0;
    QString problem;
    const auto due = [&](double salesDate) { return PayClsDue(*gIni, *gDb, *gMst, salesDate, cls, pay, problem); };
    const auto paid = [&] {
        return row(QStringLiteral("SELECT FMR_ID, SALES_AMT FROM D_PAY_DTL WHERE ") + on(QStringLiteral("CLS_DATE"), cls)
                   + QStringLiteral(" ORDER BY FMR_ID"));
    };
    local("PAY_CLS", QStringLiteral("0"));
    QVERIFY(!due(day(2024, 3, 28)));
    local("PAY_CLS", QStringLiteral("1"));
    QVERIFY(due(day(2024, 3, 28)));
    QCOMPARE(QList<double>({cls, pay}), QList<double>({day(2024, 3, 10), day(2024, 4, 5)}));
    QVERIFY(PayCls(*gDb, *gMst, cls, pay));
    QCOMPARE(paid(), QStringLiteral("45|1000"));

    // Days of the paid period closed late (rung up under their own date after the 10th was paid), one of
    // them by a producer with no other sale: they go into the next period, which is due on the 25th.
    adjDtl(day(2024, 3, 8), 45, "4", "4000");
    adjDtl(day(2024, 3, 9), 7, "1", "500");
    QVERIFY(!due(day(2024, 3, 24)));
    QVERIFY(due(day(2024, 3, 29)));
    QCOMPARE(QList<double>({cls, pay}), QList<double>({day(2024, 3, 25), day(2024, 4, 22)})); // the 20th: a Saturday
    QVERIFY(PayCls(*gDb, *gMst, cls, pay));
    QCOMPARE(paid(), QStringLiteral("7|500\n45|6000"));
    // The paid period stays as it was sent to the bank; then nothing is due until the 10th of April.
    QCOMPARE(count(QStringLiteral("D_ADJ_DTL"), on(QStringLiteral("CLS_DATE"), day(2024, 3, 10))), 1);
    QVERIFY(!due(day(2024, 3, 30)));
    QCOMPARE(count(QStringLiteral("D_ADJ_DTL"), QStringLiteral("CLS_DATE IS NULL")), 1);
    QVERIFY(problem.isEmpty());
}

void TestPaymentClosing::refusalAndFailureLeaveNothing()
{
    adjDtl(day(2024, 3, 4), 45, "1", "1000");
    adjDtl(day(2024, 3, 9), 7, "1", "2000");
    // A zero date is refused: nothing may reach the bank as paid on 1899/12/30.
    QVERIFY(!PayCls(*gDb, *gMst, m_cls, 0));
    QVERIFY(!PayCls(*gDb, *gMst, 0, m_pay));
    // The summary is the last statement: the lines and the marks written before it must go as well.
    failOn(QStringLiteral("INSERT"), QStringLiteral("D_PAY"));
    QVERIFY(!PayCls(*gDb, *gMst, m_cls, m_pay));
    QCOMPARE(count(QStringLiteral("D_PAY_DTL")) + count(QStringLiteral("D_PAY")), 0);
    QCOMPARE(count(QStringLiteral("D_ADJ_DTL"), QStringLiteral("CLS_DATE IS NULL")), 2);
    QVERIFY(m_program->logLines().last().contains(QStringLiteral("disk I/O error")));
    // No transaction is left open: the next closing works. One with nothing unpaid stores no line and no summary.
    stopFailing(QStringLiteral("INSERT"), QStringLiteral("D_PAY"));
    QVERIFY(PayCls(*gDb, *gMst, m_cls, m_pay));
    QVERIFY(PayCls(*gDb, *gMst, day(2024, 3, 13), m_pay));
    QCOMPARE(count(QStringLiteral("D_PAY_DTL")) + count(QStringLiteral("D_PAY")), 3);
}

VANTLE_TEST_BOTH_ENGINES(TestPaymentClosing)

#include "test_payment_closing.moc"
