// The daily report and the transfer request on a recording surface, checked against reviewed dumps: on the
// preview, on a printer with an unprintable border, and a report failing half-way; the print preview and its
// two dialogs (pages and navigation, margins, printing pages and copies).
#include "PrintFixture.h"

#include "base/Common.h"
#include "base/DateValue.h"
#include "printing/BankTransfer.h"
#include "printing/DailyReport.h"
#include "printing/fdlPreview.h"
#include "printing/fdlSetMgn.h"
#include "printing/fdlSetPrintCopy.h"
#include "printing/modReport.h"
#include "support/Rows.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace PrintFixture;

namespace {

const double kDay = DateValue::fromParts(2024, 4, 1);

// Producer fmrId's payment of the closing of 2024-03-31: 1,000 yen times fmrId after a fee of 220.
void payment(int fmrId, const QString &bankName = QStringLiteral("みのり信用金庫"))
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_PAY_DTL (CLS_DATE, PAY_DATE, FMR_ID, PAY_AMT, BANK_NM, BR_NM, ACC_KBN, ACC_NO, "
                             "ACC_NM, BANK_FEE, REAL_AMT) VALUES (#2024-03-31 00:00:00#,#2024-04-10 00:00:00#,%1,%2,%3,"
                             "'本店','普通','1234567','ﾐﾉﾘ ﾀﾛｳ',220,%4)")
                  .arg(fmrId).arg(1000 * fmrId + 220).arg(SqlDialect::text(bankName)).arg(1000 * fmrId));
}

// The transfer request of n producers, loaded as the preview shows it.
void transferLines(int n)
{
    gDb->EXEC(QStringLiteral("DELETE FROM D_PAY_DTL"));
    for (int i = 1; i <= n; ++i)
        payment(i);
    gRptKind = RptKind::BankTrn;
    LoadTrnData(DateValue::fromParts(2024, 3, 31));
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
    void cleanup()
    {
        gTrn.clear();
        close(m_program);
    }

    void dailyReport();
    void transferRequest();
    void previewAndItsDialogs();

private:
    RecordingSurface &pagePrinter() { return recorder(kPagePrinter, Printers::Role::Page); }
    std::unique_ptr<TestProgram> m_program;
};

// A Null count prints an empty cell, 0 prints 0; lines are 1 dot on the preview, 4 and 2 on paper.
void TestReports::dailyReport()
{
    Rows::master("COM_OMT", "みのり");
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, CHG_SUM, POST_SUM, CHG_01, CHG_02, CHG_04, CHG_05) "
                             "VALUES (#2024-04-01 00:00:00#, 35000, 123456, 1, 2, 10, 0)"));
    RecordingSurface preview;
    preview.setDrawWidth(5);
    PrintDailyRpt(preview, 500, 700, kDay);
    QVERIFY(preview.jobs().isEmpty()); // the preview never ends a job
    const QString dump = FormDump::of(preview.current());
    QCOMPARE(dump, reviewed("daily_report.txt", dump));

    // On paper from the second bin, 4 mm of border at 600 dots per inch: everything 227 twips up and left.
    Rows::local("DAILY_REPORT_PAPER_BIN", "2");
    gRptKind = RptKind::DailyRpt;
    RecordingSurface printer(true);
    printer.setPhysicalOffset(94.49, 94.49, 600);
    PrintDailyRpt(printer, 727, 927, kDay);
    QCOMPARE(printer.jobs().size(), 1);
    const auto &job = printer.jobs()[0];
    QVERIFY(job.title == QStringLiteral("日報") && job.paperBin == 4);
    QCOMPARE(job.texts.size(), preview.current().texts.size());
    for (int i = 0; i < job.texts.size(); ++i)
        QVERIFY(qAbs(job.texts[i].x - preview.current().texts[i].x) + qAbs(job.texts[i].y - preview.current().texts[i].y) < 0.02);
    QVERIFY(job.strokes.first().width == 4 && job.strokes.last().width == 2);

    // Another day has no row: nothing reaches the printer.
    PrintDailyRpt(printer, 567, 567, kDay + 1);
    QCOMPARE(printer.jobs().size(), 1);
}

// Twenty lines a page, each page with its own totals. The second page holds a bank name too long for its column
// (shrunk) and a producer without account data (empty fields, no fee); a report failing half-way.
void TestReports::transferRequest()
{
    Rows::master("COM_NM", "みのり直売所");
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
    QCOMPARE(printer.jobs().size(), 2);
    QCOMPARE(printer.jobs()[0].title, QStringLiteral("振込依頼書 1ﾍﾟｰｼﾞ"));
    QCOMPARE(printer.jobs()[1].title, QStringLiteral("振込依頼書 2ﾍﾟｰｼﾞ"));
    const QString dump = FormDump::of(printer.jobs()[1]);
    QCOMPARE(dump, reviewed("transfer_request_page2.txt", dump));

    // Pages outside the lines draw nothing.
    RecordingSurface preview;
    PrintBankTrnPage(preview, 0, 0, 3);
    PrintBankTrnPage(preview, 0, 0, 0);
    QVERIFY(!preview.pending());

    // An account kind too long to fit its column even at 1 pt fails the second page half-way: the first page
    // stays a job, nothing of the second is left, and the next report is a job of its own without it.
    gDb->EXEC(QStringLiteral("UPDATE D_PAY_DTL SET ACC_KBN='%1' WHERE FMR_ID=21").arg(QString(60, u'普')));
    QCOMPARE(LoadTrnData(closing), qint16(22));
    RecordingSurface failing(true);
    QVERIFY_THROWS_EXCEPTION(PrinterError, PrintBankTrn(failing, 567, 567));
    QCOMPARE(failing.jobs().size(), 1);
    QVERIFY(!failing.pending());
    QCOMPARE(AppTitle(), QStringLiteral("Marveno"));
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, CHG_SUM, POST_SUM) VALUES (#2024-04-01 00:00:00#, 1000, 2000)"));
    PrintDailyRpt(failing, 567, 567, kDay);
    QCOMPARE(failing.jobs().size(), 2);
    QCOMPARE(failing.jobs()[1].title, QStringLiteral("日報"));
    QVERIFY(!FormDump::of(failing.jobs()[1]).contains(QStringLiteral("みのり北部農業協同組合信用事業本部")));
}

// The preview's pages and navigation; the margins dialog shows centimetres and stores twips per report; the print
// dialog prints pages from, to and copies.
void TestReports::previewAndItsDialogs()
{
    transferLines(21);
    fdlPreview p;
    p.show();
    // Buttons 3 to 6 go to the first, previous, next and last page.
    QCOMPARE(p.txtPAGES->text(), QStringLiteral("2"));
    QVERIFY(!p.Command1[4]->isEnabled() && p.Command1[6]->isEnabled());
    p.Command1[5]->click();
    QCOMPARE(p.txtPAGE->text(), QStringLiteral("2"));
    QVERIFY(p.Command1[3]->isEnabled() && !p.Command1[5]->isEnabled());

    // The current page goes to the report printer at the stored top margin of a new register.
    p.Command1[1]->click();
    QCOMPARE(pagePrinter().jobs().size(), 1);
    QCOMPARE(pagePrinter().jobs()[0].title, QStringLiteral("振込依頼書 2ﾍﾟｰｼﾞ"));
    QCOMPARE(pagePrinter().jobs()[0].texts[0].y, 567.0);

    // Every page saved as one PDF; nothing to print, no file.
    QTemporaryDir dir;
    transferLines(41);
    QFile file(dir.filePath(QStringLiteral("振込依頼書.pdf")));
    QVERIFY(p.SaveAsPdf(file.fileName()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QCOMPARE(pdf.count(QByteArray("/Type /Page\n")) + pdf.count(QByteArray("/Type /Page ")), 3);
    gTrn.clear();
    QVERIFY(!p.SaveAsPdf(dir.filePath(QStringLiteral("empty.pdf"))));

    gRptKind = RptKind::BankTrn;
    Rows::local("BANK_TRN_TOP_MGN", "850");
    fdlSetMgn dialog;
    QCOMPARE(dialog.Text1[0]->text(), QStringLiteral("1.50"));
    QCOMPARE(dialog.Text1[1]->text(), QStringLiteral("1.00"));
    dialog.Text1[0]->setText(QStringLiteral("2.5"));
    dialog.Text1[1]->setText(QStringLiteral("0.5cm"));
    dialog.Command1[1]->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    double left = 0, top = 0;
    ReadMargins(RptKind::BankTrn, left, top);
    QCOMPARE(QPointF(left, top), QPointF(283.5, 1417.5));
    // The daily report's margins are its own.
    ReadMargins(RptKind::DailyRpt, left, top);
    QCOMPARE(top, 567.0);

    transferLines(45);
    fdlSetPrintCopy copies;
    QCOMPARE(copies.txtPAGES->text(), QStringLiteral("3"));
    copies.Option1[1]->setChecked(true);

    // Pages from, to and copies: pages 2 and 3 in two copies; the copy count is 1 again afterwards. An invalid
    // range prints nothing and says nothing.
    RecordingSurface &printer = pagePrinter();
    printer.clear(); // the preview printed a page above
    for (const auto &[from, to] : {std::pair{"2", "3"}, {"3", "2"}, {"0", "1"}, {"2", "4"}}) {
        copies.Text1[0]->setText(QString::fromLatin1(from));
        copies.Text1[1]->setText(QString::fromLatin1(to));
        copies.Text1[2]->setText(QStringLiteral("2"));
        copies.Command1[1]->click();
    }
    QCOMPARE(printer.jobs().size(), 2);
    QCOMPARE(printer.jobs()[1].title, QStringLiteral("振込依頼書 3ﾍﾟｰｼﾞ"));
    QCOMPARE(printer.jobs()[0].copies, 2);
    QCOMPARE(printer.Copies(), 1);
    QVERIFY(m_program->messages().shown().isEmpty());
    // All pages, copies 0: one copy each.
    copies.Option1[0]->setChecked(true);
    copies.Text1[2]->setText(QStringLiteral("0"));
    copies.Command1[1]->click();
    QCOMPARE(printer.jobs().size(), 5);
    QCOMPARE(printer.jobs()[4].copies, 1);
}

QTEST_MAIN(TestReports)
#include "test_reports.moc"
