// The print preview and its two dialogs: pages and navigation, scrolling, margins, printing pages and copies.
#include "PrintFixture.h"

#include "base/DateValue.h"
#include "printing/BankTransfer.h"
#include "printing/fdlPreview.h"
#include "printing/fdlSetMgn.h"
#include "printing/fdlSetPrintCopy.h"
#include "printing/modReport.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace PrintFixture;

namespace {

void transferLines(int n)
{
    gTrn.clear();
    for (int i = 0; i < n; ++i) {
        TrnRec r;
        r.CLS_DATE = DateValue::fromParts(2024, 3, 31);
        r.PAY_DATE = DateValue::fromParts(2024, 4, 10);
        r.FMR_ID = i + 1;
        r.BANK_NM = QStringLiteral("みのり信金");
        r.REAL_AMT = Currency::fromInt(1000);
        r.PAY_AMT = Currency::fromInt(1220);
        r.BANK_FEE = Currency::fromInt(220);
        gTrn.append(r);
    }
}

// Which of the four navigation buttons are enabled, and whether the menu agrees.
QString navigation(fdlPreview &p)
{
    QString out;
    for (int i = 0; i < 4; ++i) {
        out += p.Command1[3 + i]->isEnabled() ? u'1' : u'0';
        if (p.mnuMOVE[i]->isEnabled() != p.Command1[3 + i]->isEnabled())
            return QStringLiteral("menu differs");
    }
    return out;
}

void typePage(fdlPreview &p, const QString &page)
{
    p.txtPAGE->setText(page);
    emit p.txtPAGE->editingFinished();
}

// With VANTLE_KEEP_PRINTS set, a picture of the window is left there to be looked at.
void keepPicture(QWidget &w, const QString &name)
{
    const QString folder = qEnvironmentVariable("VANTLE_KEEP_PRINTS");
    if (!folder.isEmpty())
        w.grab().save(folder + u'/' + name + QStringLiteral(".png"));
}

bool hasInk(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                return true;
    return false;
}

} // namespace

class TestPreview : public QObject
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

    void pagesAndNavigation();
    void dailyReportHasOnePage();
    void scrollLimits();
    void marginsInCentimetres();
    void printingPagesAndCopies();
    void saveEveryPageAsPdf();

private:
    RecordingSurface &pagePrinter() { return recorder(kPagePrinter, Printers::Role::Page); }
    std::unique_ptr<TestProgram> m_program;
};

void TestPreview::pagesAndNavigation()
{
    gRptKind = RptKind::BankTrn;
    transferLines(20);
    {
        fdlPreview p;
        p.show();
        QCOMPARE(p.windowTitle(), QStringLiteral("振込依頼書"));
        QCOMPARE(p.txtPAGES->text(), QStringLiteral("1"));
        QCOMPARE(navigation(p), QStringLiteral("0000"));
        QVERIFY(p.txtPAGE->isReadOnly());
    }
    transferLines(21);
    fdlPreview p;
    p.show();
    QCOMPARE(p.txtPAGES->text(), QStringLiteral("2"));
    QVERIFY(!p.txtPAGE->isReadOnly());
    QCOMPARE(navigation(p), QStringLiteral("0011"));
    p.Command1[5]->click();
    QCOMPARE(p.currentPage(), 2);
    QCOMPARE(p.txtPAGE->text(), QStringLiteral("2"));
    QCOMPARE(navigation(p), QStringLiteral("1100"));
    keepPicture(p, QStringLiteral("preview-transfer-page2"));
    p.mnuMOVE[0]->trigger();
    QCOMPARE(p.currentPage(), 1);
    p.mnuMOVE[3]->trigger();
    QCOMPARE(p.currentPage(), 2);
    p.Command1[4]->click();
    QCOMPARE(p.currentPage(), 1);
    // Typed page numbers are taken as they are; the buttons follow the text of the page box.
    typePage(p, QStringLiteral("0"));
    QCOMPARE(p.currentPage(), 0);
    QCOMPARE(navigation(p), QStringLiteral("1111"));
    typePage(p, QStringLiteral("5"));
    QCOMPARE(p.currentPage(), 5);
    QCOMPARE(navigation(p), QStringLiteral("1111"));
    p.Command1[5]->click(); // 5 is not below 2: stays
    QCOMPARE(p.currentPage(), 5);
    p.Command1[6]->click();
    QCOMPARE(p.currentPage(), 2);

    // The current page goes to the report printer at the margins.
    p.Command1[1]->click();
    QCOMPARE(pagePrinter().jobs().size(), 1);
    QCOMPARE(pagePrinter().jobs()[0].title, QStringLiteral("振込依頼書 2ﾍﾟｰｼﾞ"));
    QCOMPARE(pagePrinter().jobs()[0].texts[0].y, 567.0); // the stored top margin of a new register
}

void TestPreview::dailyReportHasOnePage()
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, CHG_SUM, POST_SUM) VALUES (#2024-04-01 00:00:00#,1000,2000)"));
    gRptKind = RptKind::DailyRpt;
    gRptDate = DateValue::fromParts(2024, 4, 1);
    fdlPreview p;
    p.resize(900, 700);
    p.show();
    QCOMPARE(p.windowTitle(), QStringLiteral("日報"));
    QCOMPARE(navigation(p), QStringLiteral("0000"));
    QVERIFY(p.txtPAGE->isReadOnly());
    QVERIFY(hasInk(p.pctPreview->image()));
    keepPicture(p, QStringLiteral("preview-daily"));
}

void TestPreview::scrollLimits()
{
    gRptKind = RptKind::DailyRpt;
    fdlPreview p;
    p.resize(600, 500);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    const int pictureWidth = p.pctPreview->width() * 15;
    QVERIFY(qAbs(p.HScrl->maximum() - (11907 - pictureWidth)) <= 15);
    QVERIFY(p.VScrl->maximum() > 0);
    QVERIFY(qAbs(p.HScrl->pageStep() - pictureWidth) <= 15);
    // Scrolling moves the page the other way.
    p.HScrl->setValue(300);
    QCOMPARE(p.scrollX(), -300.0);
    p.VScrl->setValue(p.VScrl->maximum());
    QCOMPARE(p.scrollY(), -double(p.VScrl->maximum()));
    // A picture larger than the page: nothing to scroll.
    p.resize(1000, 1300);
    QTest::qWait(20);
    QVERIFY(p.pctPreview->width() * 15 > 11907);
    QCOMPARE(p.HScrl->maximum(), 0);
    QCOMPARE(p.VScrl->maximum(), 0);
    QCOMPARE(p.scrollX(), 0.0);
}

void TestPreview::marginsInCentimetres()
{
    QCOMPARE(fdlSetMgn::ToCentimetres(850), QStringLiteral("1.50"));
    QCOMPARE(fdlSetMgn::ToCentimetres(567), QStringLiteral("1.00"));
    QCOMPARE(fdlSetMgn::ToCentimetres(0), QStringLiteral("0.00"));
    QCOMPARE(fdlSetMgn::ToTwips(QStringLiteral("1.50")), 850.5);
    QCOMPARE(fdlSetMgn::ToTwips(QStringLiteral("1.5cm")), 850.5);
    QCOMPARE(fdlSetMgn::ToTwips(QStringLiteral("cm")), 0.0);

    gRptKind = RptKind::BankTrn;
    gIni->SaveCtrl(QStringLiteral("BANK_TRN_TOP_MGN"), Variant(QStringLiteral("850")));
    fdlSetMgn dialog;
    keepPicture(dialog, QStringLiteral("margins"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("余白設定"));
    QCOMPARE(dialog.Text1[0]->text(), QStringLiteral("1.50"));
    QCOMPARE(dialog.Text1[1]->text(), QStringLiteral("1.00"));
    dialog.Text1[0]->setText(QStringLiteral("2.5"));
    dialog.Text1[1]->setText(QStringLiteral("0.5cm"));
    dialog.Command1[1]->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    double left = 0, top = 0;
    ReadMargins(RptKind::BankTrn, left, top);
    QCOMPARE(top, 1417.5);
    QCOMPARE(left, 283.5);
    // The daily report's margins are its own.
    ReadMargins(RptKind::DailyRpt, left, top);
    QCOMPARE(top, 567.0);
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestPreview::printingPagesAndCopies()
{
    gRptKind = RptKind::BankTrn;
    transferLines(45);
    fdlSetPrintCopy dialog;
    keepPicture(dialog, QStringLiteral("print-copies"));
    QCOMPARE(dialog.txtPAGES->text(), QStringLiteral("3"));
    QCOMPARE(dialog.Text1[1]->text(), QStringLiteral("3"));
    QVERIFY(dialog.Option1[0]->isChecked());
    QVERIFY(!dialog.Text1[0]->isEnabled());
    dialog.Option1[1]->setChecked(true);
    QVERIFY(dialog.Text1[0]->isEnabled());

    // Pages 2 and 3 in two copies; the copy count is 1 again afterwards.
    dialog.Text1[0]->setText(QStringLiteral("2"));
    dialog.Text1[2]->setText(QStringLiteral("2"));
    dialog.Command1[1]->click();
    RecordingSurface &printer = pagePrinter();
    QCOMPARE(printer.jobs().size(), 2);
    QCOMPARE(printer.jobs()[0].title, QStringLiteral("振込依頼書 2ﾍﾟｰｼﾞ"));
    QCOMPARE(printer.jobs()[1].title, QStringLiteral("振込依頼書 3ﾍﾟｰｼﾞ"));
    QCOMPARE(printer.jobs()[0].copies, 2);
    QCOMPARE(printer.Copies(), 1);
    // An invalid range prints nothing and says nothing.
    for (const auto &range : {std::pair{"3", "2"}, std::pair{"0", "1"}, std::pair{"2", "4"}}) {
        dialog.Text1[0]->setText(QString::fromLatin1(range.first));
        dialog.Text1[1]->setText(QString::fromLatin1(range.second));
        dialog.Command1[1]->click();
    }
    QCOMPARE(printer.jobs().size(), 2);
    QVERIFY(m_program->messages().shown().isEmpty());
    // All pages, copies 0: one copy each.
    dialog.Option1[0]->setChecked(true);
    dialog.Text1[2]->setText(QStringLiteral("0"));
    dialog.Command1[1]->click();
    QCOMPARE(printer.jobs().size(), 5);
    QCOMPARE(printer.jobs()[4].copies, 1);
}

void TestPreview::saveEveryPageAsPdf()
{
    gRptKind = RptKind::BankTrn;
    transferLines(41);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("振込依頼書.pdf"));
    fdlPreview p;
    QVERIFY(p.SaveAsPdf(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QVERIFY(pdf.startsWith("%PDF-"));
    QCOMPARE(pdf.count(QByteArray("/Type /Page\n")) + pdf.count(QByteArray("/Type /Page ")), 3);
    // Nothing to print: no file.
    transferLines(0);
    QVERIFY(!p.SaveAsPdf(dir.filePath(QStringLiteral("empty.pdf"))));
}

QTEST_MAIN(TestPreview)
#include "test_preview.moc"
