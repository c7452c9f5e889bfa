// The daily report and the transfer request on a recording surface, checked against reviewed dumps: on the
// preview, on a printer with an unprintable border, and a report failing half-way.
#include "PrintFixture.h"

#include "base/Common.h"
#include "base/DateValue.h"
#include "printing/BankTransfer.h"
#include "printing/DailyReport.h"
#include "printing/modReport.h"

using namespace PrintFixture;

namespace {

const double kDay = DateValue::fromParts(2024, 4, 1);

void settlement(const char *chgSum, const char *postSum, const QStringList &counts = {})
{
    QString columns, values;
    for (int i = 0; i < 10; ++i) {
        columns += QStringLiteral(", CHG_%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        values += u',' + counts.value(i, QStringLiteral("NULL"));
    }
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, CHG_SUM, POST_SUM%1) VALUES (#2024-04-01 00:00:00#,%2,%3%4)")
                  .arg(columns, QString::fromLatin1(chgSum), QString::fromLatin1(postSum), values));
}

void payment(int fmrId, const QString &bankName = QStringLiteral("みのり信用金庫"))
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_PAY_DTL (CLS_DATE, PAY_DATE, FMR_ID, PAY_AMT, BANK_NM, BR_NM, ACC_KBN, ACC_NO, "
                             "ACC_NM, BANK_FEE, REAL_AMT) VALUES (#2024-03-31 00:00:00#,#2024-04-10 00:00:00#,%1,%2,%3,"
                             "'本店','普通','1234567','ﾐﾉﾘ ﾀﾛｳ',220,%4)")
                  .arg(fmrId).arg(1000 * fmrId + 220).arg(SqlDialect::text(bankName)).arg(1000 * fmrId));
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = open();
        gTrn.clear();
    }
    void cleanup() { close(m_program); }

    void dailyReport();
    void transferRequest();
    void aFailedReportLeavesNoHalfDrawnPage();

private:
    std::unique_ptr<TestProgram> m_program;
};

// A Null count prints an empty cell, 0 prints 0; lines are 1 dot on the preview, 4 and 2 on paper.
void TestReports::dailyReport()
{
    gMst->SaveCtrl(QStringLiteral("COM_OMT"), Variant(QStringLiteral("みのり")));
    settlement("35000", "123456", {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("NULL"), QStringLiteral("10"), QStringLiteral("0")});
    RecordingSurface preview;
    preview.setDrawWidth(5);
    PrintDailyRpt(preview, 500, 700, kDay);
    QVERIFY(preview.jobs().isEmpty()); // the preview never ends a job
    const QString dump = FormDump::of(preview.current());
    QCOMPARE(dump, reviewed("daily_report.txt", dump));
    QCOMPARE(AppTitle(), QStringLiteral("Marveno"));

    // On paper from the second bin, 4 mm of border at 600 dots per inch: everything 227 twips up and left.
    gIni->SaveCtrl(QStringLiteral("DAILY_REPORT_PAPER_BIN"), Variant(QStringLiteral("2")));
    gRptKind = RptKind::DailyRpt;
    RecordingSurface printer(true);
    printer.setPhysicalOffset(94.49, 94.49, 600);
    PrintDailyRpt(printer, 727, 927, kDay);
    QCOMPARE(printer.jobs().size(), 1);
    const auto &job = printer.jobs()[0];
    QCOMPARE(job.title, QStringLiteral("日報"));
    QCOMPARE(job.paperBin, 4);
    QCOMPARE(job.texts.size(), preview.current().texts.size());
    for (int i = 0; i < job.texts.size(); ++i)
        QVERIFY(qAbs(job.texts[i].x - preview.current().texts[i].x) + qAbs(job.texts[i].y - preview.current().texts[i].y) < 0.02);
    QCOMPARE(job.strokes.first().width, 4);
    QCOMPARE(job.strokes.last().width, 2);

    gIni->SaveCtrl(QStringLiteral("DAILY_REPORT_PAPER_BIN"), Variant(QStringLiteral("1")));
    PrintDailyRpt(printer, 567, 567, kDay);
    QCOMPARE(printer.jobs()[1].paperBin, 1);
    // Another day has no row: nothing reaches the printer.
    PrintDailyRpt(printer, 567, 567, kDay + 1);
    QCOMPARE(printer.jobs().size(), 2);
}

// Twenty lines a page, each page with its own totals. The second page holds a bank name too long for its column
// (shrunk) and a producer without account data (empty fields, no fee).
void TestReports::transferRequest()
{
    gMst->SaveCtrl(QStringLiteral("COM_NM"), Variant(QStringLiteral("みのり直売所")));
    const double closing = DateValue::fromParts(2024, 3, 31);
    for (int i = 1; i <= 20; ++i)
        payment(i);
    payment(21, QStringLiteral("みのり北部農業協同組合信用事業本部"));
    gDb->EXEC(QStringLiteral("INSERT INTO D_PAY_DTL (CLS_DATE, PAY_DATE, FMR_ID, PAY_AMT, BANK_FEE, REAL_AMT) "
                             "VALUES (#2024-03-31 00:00:00#,#2024-04-10 00:00:00#,99,500,0,500)"));
    QCOMPARE(LoadTrnData(closing + 1), qint16(0));
    QCOMPARE(LoadTrnData(closing), qint16(22));
    QCOMPARE(TrnPageCount(), 2);

    gRptKind = RptKind::BankTrn;
    RecordingSurface printer(true);
    PrintBankTrn(printer, 567, 567);
    QCOMPARE(AppTitle(), QStringLiteral("Marveno"));
    QCOMPARE(printer.jobs().size(), 2);
    QCOMPARE(printer.jobs()[0].title, QStringLiteral("振込依頼書 1ﾍﾟｰｼﾞ"));
    QCOMPARE(printer.jobs()[1].title, QStringLiteral("振込依頼書 2ﾍﾟｰｼﾞ"));
    // 1,000 + ... + 20,000 and twenty fees of 220.
    const QStringList first = textsOf(printer.jobs()[0]);
    for (const char *text : {"20件", "210,000", "4,400", "214,400"})
        QVERIFY2(first.contains(QString::fromUtf8(text)), text);
    const QString dump = FormDump::of(printer.jobs()[1]);
    QCOMPARE(dump, reviewed("transfer_request_page2.txt", dump));

    // Pages outside the lines draw nothing.
    RecordingSurface preview;
    PrintBankTrnPage(preview, 0, 0, 3);
    PrintBankTrnPage(preview, 0, 0, 0);
    QVERIFY(!preview.pending());
}

void TestReports::aFailedReportLeavesNoHalfDrawnPage()
{
    // The second page holds an account kind too long to fit its column even at 1 pt: it fails half-way.
    for (int i = 1; i <= 21; ++i)
        payment(i);
    gDb->EXEC(QStringLiteral("UPDATE D_PAY_DTL SET ACC_KBN='%1' WHERE FMR_ID=21").arg(QString(60, u'普')));
    QCOMPARE(LoadTrnData(DateValue::fromParts(2024, 3, 31)), qint16(21));
    RecordingSurface printer(true);
    try {
        PrintBankTrn(printer, 567, 567);
        QFAIL("the second page should have failed");
    } catch (const PrinterError &e) {
        QCOMPARE(e.number(), 380);
    }
    QCOMPARE(printer.jobs().size(), 1);
    QVERIFY(!printer.pending());
    QCOMPARE(AppTitle(), QStringLiteral("Marveno"));

    // The next report is a job of its own, with nothing of the failed page on it.
    settlement("1000", "2000");
    PrintDailyRpt(printer, 567, 567, kDay);
    QCOMPARE(printer.jobs().size(), 2);
    QCOMPARE(printer.jobs()[1].title, QStringLiteral("日報"));
    QVERIFY(!textsOf(printer.jobs()[1]).contains(QStringLiteral("みのり信用金庫")));
}

QTEST_MAIN(TestReports)
#include "test_reports.moc"
