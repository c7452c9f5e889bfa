// The register screen driven by keys as the operator and the scanner drive it: each key reaches the sale
// and what it did shows. The sale's own rules are tested on SaleState.
#include "CheckoutFixture.h"
#include "base/DateValue.h"
#include "checkout/fdlEditPrc.h"
#include "checkout/fdlEditQty.h"
#include "checkout/frmReg.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "printing/Printers.h"
#include "support/ModalWatch.h"
#include "support/RecordingSurface.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace CheckoutFixture;
using Rows::backOf;

namespace {

const QString kFailedToStore = QStringLiteral("レジデータ登録に失敗しました。");
const QString kReceiptPrinter = QStringLiteral("Test Receipt Printer");
const QColor kYellow(255, 255, 127);
const QColor kRed(255, 127, 127);
const QColor kWhite(255, 255, 255);

// The texts of every receipt printed so far, one list per receipt.
QList<QStringList> receipts()
{
    Printers::select(int(Printers::names().indexOf(kReceiptPrinter)), Printers::Role::Receipt);
    QList<QStringList> printed;
    for (const auto &job : dynamic_cast<RecordingSurface &>(Printer()).jobs()) {
        QStringList texts;
        for (const auto &t : job.texts)
            texts << t.text;
        if (texts.contains(QStringLiteral("領 収 書")))
            printed << texts;
    }
    return printed;
}

} // namespace

class TestFrmReg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saleWithPaymentAndReprint();
    void multiplierKeys();
    void scannerNoiseAndFailedLookups();
    void keysThroughPayment();
    void deleteAndCancel();
    void priceAndQuantityDialogs();
    void failedStoreKeepsTheSale();

private:
    void scan(const QString &code);
    void type(const QString &text);
    void key(Qt::Key k);

    std::unique_ptr<TestProgram> m_program;
    std::unique_ptr<frmReg> m_form;
};

void TestFrmReg::init()
{
    Printers::setSystemSource({});
    Printers::clearAdded();
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases(false, false);
    m_program->openAll();
    Printers::add({kReceiptPrinter, {}, [] { return std::make_unique<RecordingSurface>(true); }});
    gIni->SaveCtrl(QStringLiteral("DEF_RECEIPT"), Variant(kReceiptPrinter));
    insertMasters();
    gSalesDate = DateValue::fromParts(2024, 4, 1);
    m_form = std::make_unique<frmReg>();
    m_form->resize(1020, 752);
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestFrmReg::cleanup()
{
    m_form.reset();
    Printers::clearAdded();
    m_program.reset();
}

void TestFrmReg::type(const QString &text)
{
    // Keys go where the focus is; the screen sees them first wherever that is.
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : m_form.get();
    QTest::keyClicks(target, text);
}

void TestFrmReg::key(Qt::Key k)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : m_form.get();
    QTest::keyClick(target, k);
}

void TestFrmReg::scan(const QString &code)
{
    type(code);
    key(Qt::Key_Return);
}

void TestFrmReg::saleWithPaymentAndReprint()
{
    frmReg &f = *m_form;
    QCOMPARE(f.windowTitle(), QStringLiteral("レジ会計"));
    QCOMPARE(f.lblDATE->text(), QStringLiteral("4/1"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("0"));
    QCOMPARE(backOf(f.lblBCD), kYellow);
    QCOMPARE(f.Command1[6]->text(), QStringLiteral("再印刷\n(F6)"));

    scan(kTomato);
    scan(kTomato);
    scan(kHerb);
    QCOMPARE(f.fgrdHIST->rowCount(), 3);
    QCOMPARE(f.fgrdHIST->item(2, 1)->text(), kHerbName);
    QCOMPARE(f.lblBCD_NM->text(), kHerbName);
    QCOMPARE(f.lblFMR_NM->text(), kFarm7);
    QCOMPARE(f.lblPRC->text(), QStringLiteral("150"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("746"));
    QCOMPARE(f.fgrdHIST->currentRow(), 2);

    key(Qt::Key_Return); // empty barcode: payment
    QCOMPARE(f.RegMode(), 4);
    QCOMPARE(backOf(f.lblRCV), kYellow);
    QCOMPARE(backOf(f.lblBCD), kWhite);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("-746"));
    type(QStringLiteral("10000"));
    key(Qt::Key_Enter);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("9,254"));
    key(Qt::Key_Return);

    QCOMPARE(f.RegMode(), 1);
    QCOMPARE(f.fgrdHIST->rowCount(), 0);
    QCOMPARE(f.lblSUM->text(), QStringLiteral("0"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("9,254")); // the change stays for the customer to see
    QCOMPARE(Rows::value(QStringLiteral("SELECT RCV FROM D_REG")), QStringLiteral("10000"));
    QCOMPARE(Rows::value(QStringLiteral("SELECT CHG FROM D_REG")), QStringLiteral("9254"));
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 3);
    QVERIFY(m_program->messages().shown().isEmpty());

    // A second sale, then F6: the receipt of the last sale stored comes again, not the first one's.
    scan(kInStore);
    key(Qt::Key_Return);
    type(QStringLiteral("2000"));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    QCOMPARE(receipts().size(), 2);
    key(Qt::Key_F6);
    const QList<QStringList> printed = receipts();
    QCOMPARE(printed.size(), 3);
    QCOMPARE(printed[2], printed[1]);
    QVERIFY(printed[1] != printed[0]);
    QVERIFY(printed[2].contains(QStringLiteral("きゅうり(山田農園)")));
    QCOMPARE(count(QStringLiteral("D_REG")), 2);
}

void TestFrmReg::multiplierKeys()
{
    frmReg &f = *m_form;
    type(QStringLiteral("-"));
    QCOMPARE(f.lblQTY->text(), QStringLiteral("-1"));
    scan(kTomato);
    QCOMPARE(f.lblQTY->text(), QStringLiteral("1"));
    QCOMPARE(f.lblAMT->text(), QStringLiteral("-298"));
    for (int c = 0; c < 5; ++c)
        QCOMPARE(f.fgrdHIST->item(0, c)->background().color(), kRed); // a line taken back
    type(QStringLiteral("++"));
    scan(kHerb);
    QCOMPARE(f.fgrdHIST->item(1, 4)->text(), QStringLiteral("450"));
    QCOMPARE(f.fgrdHIST->item(1, 0)->background().color(), kWhite);

    // Backspace on an empty barcode, and Enter on one, put the multiplier back to 1.
    type(QStringLiteral("++"));
    QCOMPARE(f.lblQTY->text(), QStringLiteral("3"));
    key(Qt::Key_Backspace);
    QCOMPARE(f.lblQTY->text(), QStringLiteral("1"));
    type(QStringLiteral("+"));
    key(Qt::Key_Return);
    QCOMPARE(f.RegMode(), 4);
    QCOMPARE(f.lblQTY->text(), QStringLiteral("1"));
    key(Qt::Key_Backspace);
    scan(kHerb);
    QCOMPARE(f.fgrdHIST->item(2, 4)->text(), QStringLiteral("150"));
}

void TestFrmReg::scannerNoiseAndFailedLookups()
{
    frmReg &f = *m_form;
    // Letters, signs and control characters never reach the barcode.
    const QString noisy = QStringLiteral("49a0*1/2.3,4 5\t6x7\x01\x1b" "8ｱ9４4");
    for (QChar c : noisy) {
        QKeyEvent press(QEvent::KeyPress, c.isDigit() && c.unicode() < 128 ? Qt::Key_0 + c.digitValue() : 0,
                        Qt::NoModifier, QString(c));
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : m_form.get(), &press);
    }
    QCOMPARE(f.lblBCD->text(), QStringLiteral("4901234567894"));
    key(Qt::Key_Return);
    QCOMPARE(f.fgrdHIST->rowCount(), 1);

    // More than 13 digits keep the last 13.
    scan(QStringLiteral("77") + kHerb);
    QCOMPARE(f.fgrdHIST->item(1, 1)->text(), kHerbName);

    // An unknown code beeps and colours the barcode; the slot stays blank and the multiplier stays.
    type(QStringLiteral("+"));
    scan(QStringLiteral("9990045012000"));
    QCOMPARE(backOf(f.lblBCD), kRed);
    QCOMPARE(f.fgrdHIST->rowCount(), 2);
    QCOMPARE(f.lblQTY->text(), QStringLiteral("2"));
    scan(kInStore);
    QCOMPARE(backOf(f.lblBCD), kYellow);
    QCOMPARE(f.fgrdHIST->item(2, 4)->text(), QStringLiteral("2400"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("2,848"));
}

void TestFrmReg::keysThroughPayment()
{
    frmReg &f = *m_form;
    key(Qt::Key_Return); // a total of 0: no payment step
    QCOMPARE(f.RegMode(), 1);
    type(QStringLiteral("123"));
    key(Qt::Key_Backspace); // clears the whole field
    QCOMPARE(f.lblBCD->text(), QString());

    // Backspace steps back from the change to the tender and to scanning.
    scan(kTomato);
    key(Qt::Key_Return);
    type(QStringLiteral("1000"));
    key(Qt::Key_Return);
    QCOMPARE(backOf(f.lblCHG), kYellow);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("702"));
    key(Qt::Key_Backspace);
    QCOMPARE(f.lblRCV->text(), QString());
    key(Qt::Key_Backspace);
    QCOMPARE(backOf(f.lblBCD), kYellow);
    scan(kHerb); // a new total: the change is gone, and 会計 stores no tender
    QCOMPARE(f.lblCHG->text(), QString());
    f.cmdREG->click();
    QCOMPARE(count(QStringLiteral("D_REG"), QStringLiteral("RCV=0 AND CHG=0")), 1);

    // A click on the amount tendered goes to payment as well.
    scan(kHerb);
    QTest::mouseClick(f.lblRCV, Qt::LeftButton);
    QCOMPARE(f.RegMode(), 4);
}

void TestFrmReg::deleteAndCancel()
{
    frmReg &f = *m_form;
    scan(kTomato);
    scan(kHerb);
    scan(kInStore);
    key(Qt::Key_Return);
    type(QStringLiteral("2000"));
    key(Qt::Key_Return);
    f.fgrdHIST->setCurrentCell(1, 0);
    key(Qt::Key_F3); // the chosen line; the tender was for the old total
    QCOMPARE(f.fgrdHIST->rowCount(), 2);
    QCOMPARE(f.fgrdHIST->item(1, 1)->text(), QStringLiteral("きゅうり"));
    QCOMPARE(f.fgrdHIST->item(1, 0)->text(), QStringLiteral("2"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("1,498"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("-1,498"));

    type(QStringLiteral("500"));
    key(Qt::Key_F4); // cancel: nothing stored, nothing tendered, no change on show
    QCOMPARE(f.fgrdHIST->rowCount(), 0);
    QCOMPARE(f.lblRCV->text(), QString());
    QCOMPARE(f.lblCHG->text(), QString());
    // With no line F1 and F2 open nothing; with no sale stored F6 prints nothing.
    for (Qt::Key k : {Qt::Key_F1, Qt::Key_F2}) {
        auto watch = ModalWatch::on<QDialog>([](QDialog *) {});
        key(k);
        QTest::qWait(30);
        QVERIFY(!watch.seen());
    }
    key(Qt::Key_F6);
    QVERIFY(receipts().isEmpty());
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
}

void TestFrmReg::priceAndQuantityDialogs()
{
    frmReg &f = *m_form;
    scan(kTomato);
    scan(kHerb);
    key(Qt::Key_Return);
    type(QStringLiteral("1000"));
    key(Qt::Key_Return);

    // Price of line 1: Enter writes it at once, ｷｬﾝｾﾙ afterwards only closes.
    f.fgrdHIST->setCurrentCell(0, 0);
    {
        auto watch = ModalWatch::on<fdlEditPrc>([](fdlEditPrc *d) {
            QCOMPARE(d->lblO_PRC->text(), QStringLiteral("298"));
            QTest::keyClicks(d->txtPRC, QStringLiteral("350"));
            QTest::keyClick(d->txtPRC, Qt::Key_Return);
            QCOMPARE(d->lblAMT->text(), QStringLiteral("350"));
            d->Command1[0]->click();
        });
        key(Qt::Key_F1);
        QVERIFY(watch.seen());
    }
    QCOMPARE(f.fgrdHIST->item(0, 4)->text(), QStringLiteral("350"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("500"));
    QCOMPARE(f.RegMode(), 4); // the total changed: the amount tendered is typed again

    // Quantity of line 1: what is no number keeps the dialog open; 設定 writes and closes.
    f.fgrdHIST->setCurrentCell(0, 0);
    {
        auto watch = ModalWatch::on<fdlEditQty>([](fdlEditQty *d) {
            QTest::keyClicks(d->txtQTY, QStringLiteral("x2"));
            d->Command1[1]->click();
            QVERIFY(d->isVisible());
            d->txtQTY->setText(QStringLiteral("999999999999"));
            d->Command1[1]->click();
            QVERIFY(!d->isVisible());
        });
        key(Qt::Key_F2);
        QVERIFY(watch.seen());
    }
    QCOMPARE(f.lblSUM->text(), QStringLiteral("349,999,999,999,800"));

    // A price too large is refused with a word and the dialog stays.
    f.fgrdHIST->setCurrentCell(0, 0);
    auto watch = ModalWatch::on<fdlEditPrc>([this](fdlEditPrc *d) {
        d->txtPRC->setText(QStringLiteral("999999999999"));
        QTest::keyClick(d->txtPRC, Qt::Key_Return);
        QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("金額が大きすぎます。数量と単価を確かめてください。")});
        QCOMPARE(d->focusWidget(), d->txtPRC);
    });
    key(Qt::Key_F1);
    QVERIFY(watch.seen());
    QCOMPARE(f.lblSUM->text(), QStringLiteral("349,999,999,999,800"));
}

void TestFrmReg::failedStoreKeepsTheSale()
{
    frmReg &f = *m_form;
    Rows::failOn(QStringLiteral("INSERT"), QStringLiteral("D_REG_DTL"));
    scan(kTomato);
    scan(kHerb);
    key(Qt::Key_Return);
    type(QStringLiteral("500"));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    QCOMPARE(m_program->messages().prompts(), QStringList{kFailedToStore});
    QCOMPARE(m_program->messages().shown().first().flags, int(Msg::Exclamation));
    QVERIFY(m_program->logLines().last().endsWith(QStringLiteral("[注意]") + kFailedToStore));
    QCOMPARE(f.RegMode(), 5);
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
    QVERIFY(receipts().isEmpty());

    // The database comes back: Enter stores the same sale once.
    Rows::stopFailing(QStringLiteral("INSERT"), QStringLiteral("D_REG_DTL"));
    key(Qt::Key_Return);
    QCOMPARE(m_program->messages().prompts().count(kFailedToStore), 1);
    QCOMPARE(f.RegMode(), 1);
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 2);
    QCOMPARE(receipts().size(), 1);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setFont(QFont(QStringLiteral("IPAexGothic"), 11));
    TestFrmReg test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_frmreg.moc"
