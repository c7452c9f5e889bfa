// The print preview and its two dialogs: pages and navigation, margins, printing pages and copies.
#include "PrintFixture.h"

#include "base/DateValue.h"
#include "printing/BankTransfer.h"
#include "printing/fdlPreview.h"
#include "printing/fdlSetMgn.h"
#include "printing/fdlSetPrintCopy.h"
#include "printing/modReport.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace PrintFixture;

namespace {

void transferLines(int n)
{
    gRptKind = RptKind::BankTrn;
    gTrn.clear();
    for (int i = 0; i < n; ++i) {
        TrnRec r;
        r.CLS_DATE = DateValue::fromParts(2024, 3, 31);
        r.PAY_DATE = DateValue::fromParts(2024, 4, 10);
        r.FMR_ID = i + 1;
        r.BANK_NM = QStringLiteral("みのり信金");
        r.REAL_AMT = Currency::fromInt(1000);
        gTrn.append(r);
    }
}

// Which of the four navigation buttons are enabled.
QString navigation(fdlPreview &p)
{
    QString out;
    for (int i = 0; i < 4; ++i)
        out += p.Command1[3 + i]->isEnabled() ? u'1' : u'0';
    return out;
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_program = open(); }
    void cleanup()
    {
        gTrn.clear();
        close(m_program);
    }

    void pagesAndNavigation();
    void margins();
    void printingPagesAndCopies();

private:
    RecordingSurface &pagePrinter() { return recorder(kPagePrinter, Printers::Role::Page); }
    std::unique_ptr<TestProgram> m_program;
};

void TestPreview::pagesAndNavigation()
{
    transferLines(20);
    {
        fdlPreview p;
        p.show();
        QCOMPARE(p.txtPAGES->text(), QStringLiteral("1"));
        QCOMPARE(navigation(p), QStringLiteral("0000"));
        QVERIFY(p.txtPAGE->isReadOnly());
    }
    transferLines(21);
    fdlPreview p;
    p.show();
    QVERIFY(!p.txtPAGE->isReadOnly());
    QCOMPARE(navigation(p), QStringLiteral("0011"));
    p.Command1[5]->click();
    QCOMPARE(p.txtPAGE->text(), QStringLiteral("2"));
    QCOMPARE(navigation(p), QStringLiteral("1100"));
    // Typed page numbers are taken as they are; the buttons follow the text of the page box.
    p.txtPAGE->setText(QStringLiteral("5"));
    emit p.txtPAGE->editingFinished();
    QCOMPARE(p.currentPage(), 5);
    QCOMPARE(navigation(p), QStringLiteral("1111"));
    p.Command1[6]->click();
    QCOMPARE(p.currentPage(), 2);

    // The current page goes to the report printer at the stored top margin of a new register.
    p.Command1[1]->click();
    QCOMPARE(pagePrinter().jobs().size(), 1);
    QCOMPARE(pagePrinter().jobs()[0].title, QStringLiteral("振込依頼書 2ﾍﾟｰｼﾞ"));
    QCOMPARE(pagePrinter().jobs()[0].texts[0].y, 567.0);

    // Every page saved as one PDF; nothing to print, no file.
    QTemporaryDir dir;
    transferLines(41);
    QVERIFY(p.SaveAsPdf(dir.filePath(QStringLiteral("振込依頼書.pdf"))));
    QFile file(dir.filePath(QStringLiteral("振込依頼書.pdf")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    QCOMPARE(pdf.count(QByteArray("/Type /Page\n")) + pdf.count(QByteArray("/Type /Page ")), 3);
    transferLines(0);
    QVERIFY(!p.SaveAsPdf(dir.filePath(QStringLiteral("empty.pdf"))));
}

void TestPreview::margins()
{
    QCOMPARE(fdlSetMgn::ToCentimetres(850), QStringLiteral("1.50"));
    QCOMPARE(fdlSetMgn::ToTwips(QStringLiteral("1.5cm")), 850.5);
    QCOMPARE(fdlSetMgn::ToTwips(QStringLiteral("cm")), 0.0);

    gRptKind = RptKind::BankTrn;
    gIni->SaveCtrl(QStringLiteral("BANK_TRN_TOP_MGN"), Variant(QStringLiteral("850")));
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
}

void TestPreview::printingPagesAndCopies()
{
    transferLines(45);
    fdlSetPrintCopy dialog;
    QCOMPARE(dialog.txtPAGES->text(), QStringLiteral("3"));
    QVERIFY(!dialog.Text1[0]->isEnabled());
    dialog.Option1[1]->setChecked(true);
    QVERIFY(dialog.Text1[0]->isEnabled());

    // Pages 2 and 3 in two copies; the copy count is 1 again afterwards.
    dialog.Text1[0]->setText(QStringLiteral("2"));
    dialog.Text1[1]->setText(QStringLiteral("3"));
    dialog.Text1[2]->setText(QStringLiteral("2"));
    dialog.Command1[1]->click();
    RecordingSurface &printer = pagePrinter();
    QCOMPARE(printer.jobs().size(), 2);
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

QTEST_MAIN(TestPreview)
#include "test_preview.moc"
