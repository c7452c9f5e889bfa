// The register screen driven by keys as the operator and the scanner drive it.
#include "CheckoutFixture.h"
#include "base/DateValue.h"
#include "checkout/SaleState.h"
#include "checkout/fdlEditPrc.h"
#include "checkout/fdlEditQty.h"
#include "checkout/frmReg.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace CheckoutFixture;

namespace {

const QString kFailedToStore = QStringLiteral("レジデータ登録に失敗しました。");

QColor backOf(const QLabel *label)
{
    return label->palette().color(QPalette::Window);
}

} // namespace

class TestFrmReg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saleWithPaymentAndChange();
    void returnsAndMultiplier();
    void scannerNoiseAndFailedLookups();
    void keysThroughPayment();
    void deleteAndCancel();
    void priceAndQuantityDialogs();
    void failedStoreKeepsTheSale();
    void screenshot();

private:
    void scan(const QString &code);
    void type(const QString &text);
    void key(Qt::Key k);
    // Runs `answer` on the modal dialog the next action opens; m_dialogSeen tells whether one opened.
    void onDialog(std::function<void(QWidget *)> answer);

    std::unique_ptr<TestProgram> m_program;
    std::unique_ptr<frmReg> m_form;
    bool m_dialogSeen = false;
};

void TestFrmReg::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases(false, false);
    m_program->openAll();
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

void TestFrmReg::onDialog(std::function<void(QWidget *)> answer)
{
    m_dialogSeen = false;
    QTimer::singleShot(0, this, [this, answer] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        m_dialogSeen = true;
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        answer(dialog);
        if (dialog->isVisible())
            static_cast<QDialog *>(dialog)->reject(); // never leave a test waiting
    });
}

void TestFrmReg::saleWithPaymentAndChange()
{
    frmReg &f = *m_form;
    QCOMPARE(f.windowTitle(), QStringLiteral("レジ会計"));
    QCOMPARE(f.lblDATE->text(), QStringLiteral("4/1"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("0"));
    QCOMPARE(backOf(f.lblBCD), frmReg::HighlightColor);

    scan(kTomato);
    scan(kTomato);
    scan(kHerb);
    QCOMPARE(f.fgrdHIST->rowCount(), 3);
    QCOMPARE(f.fgrdHIST->item(2, 1)->text(), kHerbName);
    QCOMPARE(f.lblBCD_NM->text(), kHerbName);
    QCOMPARE(f.lblPRC->text(), QStringLiteral("150"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("746"));
    QCOMPARE(f.fgrdHIST->currentRow(), 2);

    key(Qt::Key_Return); // empty barcode: payment
    QCOMPARE(f.RegMode(), 4);
    QCOMPARE(backOf(f.lblRCV), frmReg::HighlightColor);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("-746"));
    type(QStringLiteral("10000"));
    key(Qt::Key_Enter);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("9,254"));
    key(Qt::Key_Return);

    QCOMPARE(f.RegMode(), 1);
    QCOMPARE(f.mLastRegId(), 1);
    QCOMPARE(f.fgrdHIST->rowCount(), 0);
    QCOMPARE(f.lblSUM->text(), QStringLiteral("0"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("9,254")); // the change stays for the customer to see
    Recordset h = gDb->GetStaticRst(QStringLiteral("SELECT * FROM D_REG"));
    QCOMPARE(h.RecordCount(), 1);
    QCOMPARE(h.Fields(QStringLiteral("RCV")).toCurrency(), money("10000"));
    QCOMPARE(h.Fields(QStringLiteral("CHG")).toCurrency(), money("9254"));
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 3);
    // (The receipt printer may have its say; the sale itself raised nothing.)
    QVERIFY(!m_program->messages().prompts().contains(kFailedToStore));
}

void TestFrmReg::returnsAndMultiplier()
{
    frmReg &f = *m_form;
    type(QStringLiteral("-"));
    QCOMPARE(f.lblQTY->text(), QStringLiteral("-1"));
    scan(kTomato);
    QCOMPARE(f.lblQTY->text(), QStringLiteral("1"));
    QCOMPARE(f.lblAMT->text(), QStringLiteral("-298"));
    for (int c = 0; c < 5; ++c)
        QCOMPARE(f.fgrdHIST->item(0, c)->background().color(), frmReg::FailedColor);
    type(QStringLiteral("++"));
    scan(kHerb);
    QCOMPARE(f.fgrdHIST->item(1, 4)->text(), QStringLiteral("450"));
    QCOMPARE(f.fgrdHIST->item(1, 0)->background().color(), frmReg::PlainColor);
    type(QStringLiteral("++"));
    QCOMPARE(f.lblQTY->text(), QStringLiteral("3"));
    key(Qt::Key_Backspace); // on an empty barcode: back to 1
    QCOMPARE(f.lblQTY->text(), QStringLiteral("1"));
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
    QCOMPARE(f.fgrdHIST->rowCount(), 2);
    QCOMPARE(gDtl[1].BCD, kHerb);

    // An unknown code beeps and colours the barcode; the slot stays blank and the multiplier stays.
    type(QStringLiteral("+"));
    scan(QStringLiteral("9990045012000"));
    QCOMPARE(backOf(f.lblBCD), frmReg::FailedColor);
    QCOMPARE(f.fgrdHIST->rowCount(), 2);
    QCOMPARE(f.mDtlCnt(), 2);
    QCOMPARE(f.lblQTY->text(), QStringLiteral("2"));
    scan(kInStore);
    QCOMPARE(backOf(f.lblBCD), frmReg::HighlightColor);
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

    // 1,000 tendered, 702 back; Backspace to scanning and five more articles: the tender and the change
    // are gone from the screen, and 会計 does not store them with the new total.
    scan(kTomato);
    key(Qt::Key_Return);
    type(QStringLiteral("1000"));
    key(Qt::Key_Return);
    QCOMPARE(backOf(f.lblCHG), frmReg::HighlightColor);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("702"));
    key(Qt::Key_Backspace);
    QCOMPARE(f.lblRCV->text(), QString());
    key(Qt::Key_Backspace);
    QCOMPARE(backOf(f.lblBCD), frmReg::HighlightColor);
    for (int i = 0; i < 5; ++i)
        scan(kHerb);
    QCOMPARE(f.lblCHG->text(), QString());
    f.cmdREG->click();
    QCOMPARE(gDb->DLookup(QStringLiteral("RCV"), QStringLiteral("D_REG")).toCurrency(), Currency());
    QCOMPARE(gDb->DLookup(QStringLiteral("CHG"), QStringLiteral("D_REG")).toCurrency(), Currency());

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
    QCOMPARE(f.lblSUM->text(), QStringLiteral("1,498"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("-1,498"));

    type(QStringLiteral("500"));
    key(Qt::Key_F4); // cancel: nothing stored, nothing tendered, no change on show
    QCOMPARE(f.fgrdHIST->rowCount(), 0);
    QCOMPARE(f.lblRCV->text(), QString());
    QCOMPARE(f.lblCHG->text(), QString());
    // With no line (the header row current) F1, F2 and F3 open nothing and change nothing.
    for (Qt::Key k : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3}) {
        onDialog([](QWidget *) {});
        key(k);
        QVERIFY(!m_dialogSeen);
    }
    key(Qt::Key_F6); // nothing stored yet: no reprint
    QCOMPARE(f.mLastRegId(), 0);
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
    onDialog([](QWidget *w) {
        auto *d = qobject_cast<fdlEditPrc *>(w);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("単価修正"));
        QCOMPARE(d->lblO_PRC->text(), QStringLiteral("298"));
        QCOMPARE(d->lblBCD_NM->text(), kTomatoName);
        QCOMPARE(d->txtPRC->selectedText(), d->txtPRC->text());
        QTest::keyClicks(d->txtPRC, QStringLiteral("350"));
        QTest::keyClick(d->txtPRC, Qt::Key_Return);
        QCOMPARE(d->lblAMT->text(), QStringLiteral("350"));
        QCOMPARE(d->focusWidget(), d->Command1[1]); // on to 設定
        d->Command1[0]->click();
    });
    key(Qt::Key_F1);
    QVERIFY(m_dialogSeen);
    QCOMPARE(gDtl[0].D_PRC, money("-52"));
    QCOMPARE(f.fgrdHIST->item(0, 4)->text(), QStringLiteral("350"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("500"));
    QCOMPARE(f.RegMode(), 4); // the total changed: the amount tendered is typed again
    QCOMPARE(f.lblCHG->text(), QStringLiteral("-500"));

    // Quantity of line 1: what is no number keeps the focus; 設定 writes and closes.
    f.fgrdHIST->setCurrentCell(0, 0);
    onDialog([](QWidget *w) {
        auto *d = qobject_cast<fdlEditQty *>(w);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("数量変更"));
        QCOMPARE(d->lblPRC->text(), QStringLiteral("350"));
        QTest::keyClicks(d->txtQTY, QStringLiteral("x2"));
        QTest::keyClick(d->txtQTY, Qt::Key_Return);
        QCOMPARE(d->focusWidget(), d->txtQTY);
        d->Command1[1]->click();
        QVERIFY(d->isVisible());
        d->txtQTY->setText(QStringLiteral("999999999999"));
        d->Command1[1]->click();
        QVERIFY(!d->isVisible());
    });
    key(Qt::Key_F2);
    QVERIFY(m_dialogSeen);
    QCOMPARE(f.lblSUM->text(), QStringLiteral("349,999,999,999,800"));

    // Price of line 1: an amount too large is refused with a word and changes nothing; what the input
    // method types is a number.
    f.fgrdHIST->setCurrentCell(0, 0);
    onDialog([this](QWidget *w) {
        auto *d = qobject_cast<fdlEditPrc *>(w);
        d->txtPRC->setText(QStringLiteral("999999999999"));
        QTest::keyClick(d->txtPRC, Qt::Key_Return);
        QCOMPARE(m_program->messages().prompts(), QStringList{SaleState::TooLargeMessage});
        QCOMPARE(d->focusWidget(), d->txtPRC);
        QCOMPARE(gDtl[0].PRC, money("350"));
        d->txtPRC->setText(QStringLiteral("０．５"));
        d->Command1[1]->click();
        QVERIFY(!d->isVisible());
    });
    key(Qt::Key_F1);
    QCOMPARE(gDtl[0].AMT, money("499999999999.5"));
}

void TestFrmReg::failedStoreKeepsTheSale()
{
    frmReg &f = *m_form;
    gDb->EXEC(QStringLiteral("CREATE TRIGGER fail_second BEFORE INSERT ON D_REG_DTL WHEN NEW.DTL_NO = 2 "
                             "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"));
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

    // The database comes back: Enter stores the same sale once.
    gDb->EXEC(QStringLiteral("DROP TRIGGER fail_second"));
    key(Qt::Key_Return);
    QCOMPARE(m_program->messages().prompts().count(kFailedToStore), 1);
    QCOMPARE(f.RegMode(), 1);
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 2);
}

void TestFrmReg::screenshot()
{
    const QString dir = qEnvironmentVariable("VANTLE_SCREENSHOT_DIR");
    if (dir.isEmpty())
        QSKIP("VANTLE_SCREENSHOT_DIR not set");
    scan(kTomato);
    type(QStringLiteral("++"));
    scan(kInStore);
    type(QStringLiteral("-"));
    scan(kHerb);
    scan(QStringLiteral("0120007000055"));
    scan(QStringLiteral("9990045012000"));
    key(Qt::Key_Return);
    type(QStringLiteral("5000"));
    key(Qt::Key_Return);
    QVERIFY(m_form->grab().save(dir + QStringLiteral("/frmReg.png")));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setFont(QFont(QStringLiteral("IPAexGothic"), 11));
    TestFrmReg test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_frmreg.moc"
