// The register screen driven by keys as the operator and the scanner drive it: each key reaches the sale
// and what it did shows. The sale's own rules are tested on SaleState.
#include "CheckoutFixture.h"
#include "checkout/fdlEditPrc.h"
#include "checkout/fdlEditQty.h"
#include "checkout/frmReg.h"
#include "data/Globals.h"
#include "printing/Printers.h"
#include "support/ModalWatch.h"
#include "support/RecordingSurface.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace CheckoutFixture;
using Rows::backOf;

namespace {

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

    void saleStoredAndReprinted();
    void keysOnTheBarcode();
    void paymentAndLineKeys();
    void failedStorePrintsNothing();

private:
    // Keys go where the focus is; the screen sees them first wherever that is.
    QWidget *target() const { return QApplication::focusWidget() ? QApplication::focusWidget() : m_form.get(); }
    void type(const QString &text) { QTest::keyClicks(target(), text); }
    void key(Qt::Key k) { QTest::keyClick(target(), k); }
    void scan(const QString &code) { type(code + u'\r'); } // the scanner ends a code with Enter
    // Enter on the empty barcode, the amount tendered, Enter: the change is shown.
    void tender(const QString &amount) { type(u'\r' + amount + u'\r'); }

    std::unique_ptr<TestProgram> m_program;
    std::unique_ptr<frmReg> m_form;
};

void TestFrmReg::init()
{
    Printers::setSystemSource({});
    m_program = TestProgram::opened();
    Printers::add({kReceiptPrinter, {}, [] { return std::make_unique<RecordingSurface>(true); }});
    Rows::local("DEF_RECEIPT", kReceiptPrinter);
    insertMasters();
    gSalesDate = Rows::day(2024, 4, 1);
    m_form = std::make_unique<frmReg>();
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

void TestFrmReg::saleStoredAndReprinted()
{
    frmReg &f = *m_form;
    QCOMPARE(f.windowTitle() + u' ' + f.lblDATE->text() + u' ' + f.lblCHG->text(), QStringLiteral("レジ会計 4/1 0"));
    QCOMPARE(f.Command1[6]->text(), QStringLiteral("再印刷\n(F6)"));
    scan(kTomato);
    scan(kHerb);
    QCOMPARE(f.fgrdHIST->item(1, 1)->text(), kHerbName);
    QCOMPARE(f.lblFMR_NM->text() + u'/' + f.lblPRC->text() + u'/' + f.lblSUM->text(), QStringLiteral("D'Arcy 農場/150/448"));
    key(Qt::Key_Return); // empty barcode: payment
    QCOMPARE(backOf(f.lblRCV), kYellow);
    QCOMPARE(backOf(f.lblBCD), kWhite);
    type(QStringLiteral("10000"));
    key(Qt::Key_Enter);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("9,552"));

    // Enter stores the sale, and its change stays on show for the customer.
    key(Qt::Key_Return);
    QVERIFY(m_program->messages().shown().isEmpty());
    QCOMPARE(f.lblSUM->text() + u' ' + f.lblCHG->text(), QStringLiteral("0 9,552"));
    QCOMPARE(Rows::row(QStringLiteral("SELECT RCV, CHG, (SELECT COUNT(*) FROM D_REG_DTL) FROM D_REG")),
             QStringLiteral("10000|9552|2"));

    // A second sale, then F6: the receipt of the last sale stored comes again, not the first one's.
    scan(kInStore);
    tender(QStringLiteral("2000"));
    key(Qt::Key_Return);
    key(Qt::Key_F6);
    const QList<QStringList> printed = receipts();
    QCOMPARE(printed.size(), 3);
    QCOMPARE(printed[2], printed[1]);
    QVERIFY(printed[1] != printed[0]);
}

void TestFrmReg::keysOnTheBarcode()
{
    frmReg &f = *m_form;
    // "-" takes the next article back; letters, signs and control characters never reach the barcode.
    type(QStringLiteral("-"));
    QCOMPARE(f.lblQTY->text(), QStringLiteral("-1"));
    for (QChar c : QStringLiteral("49a0*1/2.3,4 5\t6x7\x01\x1b" "8ｱ9４4")) {
        QKeyEvent press(QEvent::KeyPress, c.isDigit() && c.unicode() < 128 ? Qt::Key_0 + c.digitValue() : 0,
                        Qt::NoModifier, QString(c));
        QApplication::sendEvent(target(), &press);
    }
    QCOMPARE(f.lblBCD->text(), kTomato);
    key(Qt::Key_Return);
    QCOMPARE(f.lblQTY->text() + u' ' + f.lblAMT->text(), QStringLiteral("1 -298"));
    QCOMPARE(f.fgrdHIST->item(0, 4)->background().color(), kRed); // a line taken back

    // An unknown code beeps and shows red; the multiplier stays for the next article.
    type(QStringLiteral("++"));
    scan(QStringLiteral("9990045012000"));
    QCOMPARE(backOf(f.lblBCD), kRed);
    scan(kHerb);
    QCOMPARE(backOf(f.lblBCD), kYellow);
    QCOMPARE(f.fgrdHIST->item(1, 4)->text(), QStringLiteral("450"));
    QCOMPARE(f.fgrdHIST->item(1, 0)->background().color(), kWhite);

    // Backspace clears a code typed; on an empty code it puts the multiplier back to 1, and so does Enter.
    type(QStringLiteral("++123"));
    key(Qt::Key_Backspace);
    QCOMPARE(f.lblBCD->text() + u'/' + f.lblQTY->text(), QStringLiteral("/3"));
    key(Qt::Key_Backspace);
    QCOMPARE(f.lblQTY->text(), QStringLiteral("1"));
    type(QStringLiteral("+"));
    key(Qt::Key_Return);
    QCOMPARE(QString::number(f.RegMode()) + u' ' + f.lblQTY->text(), QStringLiteral("4 1")); // payment, times 1
    key(Qt::Key_Backspace);
    scan(kHerb);
    QCOMPARE(f.fgrdHIST->item(2, 4)->text(), QStringLiteral("150"));
}

void TestFrmReg::paymentAndLineKeys()
{
    frmReg &f = *m_form;
    // A total of 0: Enter has no payment step. No line: F1 and F2 open nothing. No sale stored: F6 prints nothing.
    {
        const auto dialog = ModalWatch::on<QDialog>([](QDialog *) {});
        for (Qt::Key k : {Qt::Key_Return, Qt::Key_F1, Qt::Key_F2, Qt::Key_F6})
            key(k);
        QTest::qWait(30);
        QVERIFY(!dialog.seen() && receipts().isEmpty());
        QCOMPARE(f.RegMode(), 1);
    }

    // Backspace steps back from the change to the tender and to scanning; a click on the tender pays again.
    scan(kInStore);
    scan(kHerb);
    scan(kTomato);
    tender(QStringLiteral("2000"));
    QCOMPARE(backOf(f.lblCHG), kYellow);
    key(Qt::Key_Backspace);
    QCOMPARE(f.lblRCV->text() + u' ' + f.lblCHG->text(), QStringLiteral(" -1,648"));
    key(Qt::Key_Backspace);
    QCOMPARE(backOf(f.lblBCD), kYellow);
    QTest::mouseClick(f.lblRCV, Qt::LeftButton);
    type(QStringLiteral("5000\r"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("3,352"));

    // F2 on the chosen line: what is no number keeps the dialog open, and so does a total out of range, with
    // a word; 設定 writes and closes. The total changed: the amount tendered is typed again.
    f.fgrdHIST->setCurrentCell(0, 0);
    const auto quantity = ModalWatch::on<fdlEditQty>([this](fdlEditQty *d) {
        for (const char *typed : {"x2", "999999999999"}) {
            d->txtQTY->setText(QString::fromLatin1(typed));
            d->Command1[1]->click();
            QVERIFY(d->isVisible());
        }
        QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("金額が大きすぎます。数量と単価を確かめてください。")});
        d->txtQTY->setText(QStringLiteral("3"));
        d->Command1[1]->click();
    });
    key(Qt::Key_F2);
    QVERIFY(quantity.seen());
    QCOMPARE(f.lblSUM->text() + u' ' + f.lblCHG->text(), QStringLiteral("4,048 -4,048"));

    // F1: Enter writes the price at once, ｷｬﾝｾﾙ afterwards only closes.
    f.fgrdHIST->setCurrentCell(0, 0);
    const auto price = ModalWatch::on<fdlEditPrc>([](fdlEditPrc *d) {
        QTest::keyClicks(d->txtPRC, QStringLiteral("350"));
        QTest::keyClick(d->txtPRC, Qt::Key_Return);
        d->Command1[0]->click();
    });
    key(Qt::Key_F1);
    QVERIFY(price.seen());
    QCOMPARE(f.fgrdHIST->item(0, 4)->text() + u' ' + f.lblSUM->text(), QStringLiteral("1050 1,498"));

    // F3 deletes the chosen line and the next moves up.
    f.fgrdHIST->setCurrentCell(1, 0);
    key(Qt::Key_F3);
    QCOMPARE(f.fgrdHIST->item(1, 0)->text() + u' ' + f.fgrdHIST->item(1, 1)->text(), QStringLiteral("2 完熟トマト 'Momotaro'"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("1,348"));

    // F4 cancels: nothing stored, nothing tendered, no change on show. 会計 stores a sale as Enter does.
    type(QStringLiteral("500"));
    key(Qt::Key_F4);
    QCOMPARE(f.fgrdHIST->rowCount(), 0);
    QCOMPARE(f.lblRCV->text() + f.lblCHG->text(), QString());
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
    scan(kHerb);
    f.cmdREG->click();
    QCOMPARE(count(QStringLiteral("D_REG"), QStringLiteral("AMT_SUM=150 AND RCV=0")), 1);
}

// A sale the database refused keeps its lines on the screen and gets no receipt; once the database takes it
// again, Enter stores it once and prints it once.
void TestFrmReg::failedStorePrintsNothing()
{
    Rows::failOn(QStringLiteral("INSERT"), QStringLiteral("D_REG_DTL"));
    scan(kTomato);
    tender(QStringLiteral("500"));
    key(Qt::Key_Return);
    QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("レジデータ登録に失敗しました。")});
    QCOMPARE(m_form->RegMode(), 5);
    QCOMPARE(Rows::count(QStringLiteral("D_REG")), 0);
    QVERIFY(receipts().isEmpty());
    Rows::stopFailing(QStringLiteral("INSERT"), QStringLiteral("D_REG_DTL"));
    key(Qt::Key_Return);
    QCOMPARE(Rows::count(QStringLiteral("D_REG_DTL")), 1);
    QCOMPARE(receipts().size(), 1);
}

QTEST_MAIN(TestFrmReg)
#include "test_frmreg.moc"
