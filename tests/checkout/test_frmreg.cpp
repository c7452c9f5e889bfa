// The register screen driven by keys as the operator and the scanner drive it.
#include "CheckoutFixture.h"
#include "app/Globals.h"
#include "checkout/SaleState.h"
#include "checkout/fdlEditPrc.h"
#include "checkout/fdlEditQty.h"
#include "checkout/frmReg.h"
#include "data/DateValue.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
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
    void backspaceStepsAndTenderLimit();
    void deleteRenumbersAndStores();
    void cancelDropsTheSale();
    void priceAndQuantityDialogs();
    void dialogsWithoutALine();
    void zeroAndNegativeTotalsStore();
    void failedStoreKeepsTheSale();
    void screenshot();

private:
    void scan(const QString &code);
    void type(const QString &text);
    void key(Qt::Key k);
    // Runs `answer` on the modal dialog the next action opens; false when no dialog opened.
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
    scan(kTomato); // the same code twice gives two lines
    scan(kHerb);
    QCOMPARE(f.fgrdHIST->rowCount(), 3);
    QCOMPARE(f.fgrdHIST->item(1, 0)->text(), QStringLiteral("2"));
    QCOMPARE(f.fgrdHIST->item(0, 1)->text(), kTomatoName);
    QCOMPARE(f.fgrdHIST->item(2, 1)->text(), kHerbName);
    QCOMPARE(f.fgrdHIST->item(2, 2)->text(), kFarm7);
    QCOMPARE(f.lblBCD_NM->text(), kHerbName);
    QCOMPARE(f.lblFMR_NM->text(), kFarm7);
    QCOMPARE(f.lblPRC->text(), QStringLiteral("150"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("746"));
    QCOMPARE(f.fgrdHIST->currentRow(), 2);

    key(Qt::Key_Return); // empty barcode: payment
    QCOMPARE(f.RegMode(), 4);
    QCOMPARE(backOf(f.lblRCV), frmReg::HighlightColor);
    QCOMPARE(backOf(f.lblBCD), frmReg::PlainColor);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("-746"));
    type(QStringLiteral("10000"));
    key(Qt::Key_Enter);
    QCOMPARE(f.RegMode(), 5);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("9,254"));
    key(Qt::Key_Return);

    QCOMPARE(f.RegMode(), 1);
    QCOMPARE(f.mLastRegId(), 1);
    QCOMPARE(f.fgrdHIST->rowCount(), 0);
    QCOMPARE(f.lblSUM->text(), QStringLiteral("0"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("9,254")); // the change stays for the customer to see
    QCOMPARE(gDtl.size(), 1);
    Recordset h = gDb->GetStaticRst(QStringLiteral("SELECT * FROM D_REG"));
    QCOMPARE(h.RecordCount(), 1);
    QCOMPARE(h.Fields(QStringLiteral("AMT_SUM")).toCurrency(), money("746"));
    QCOMPARE(h.Fields(QStringLiteral("RCV")).toCurrency(), money("10000"));
    QCOMPARE(h.Fields(QStringLiteral("CHG")).toCurrency(), money("9254"));
    QCOMPARE(h.Fields(QStringLiteral("DTL_CNT")).toLong(), 3);
    QCOMPARE(gDb->DLookup(QStringLiteral("BCD_NM"), QStringLiteral("D_REG_DTL"), QStringLiteral("DTL_NO=3")).toString(),
             kHerbName);
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
    QCOMPARE(gDtl[0].QTY, money("-1"));
    QCOMPARE(f.lblAMT->text(), QStringLiteral("-298"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("-298"));
    QCOMPARE(f.fgrdHIST->item(0, 3)->text(), QStringLiteral("-1"));
    QCOMPARE(f.fgrdHIST->item(0, 4)->text(), QStringLiteral("-298"));
    for (int c = 0; c < 5; ++c)
        QCOMPARE(f.fgrdHIST->item(0, c)->background().color(), frmReg::FailedColor);

    // The multiplier runs ..., -2, -1, 1, 2, ... and never becomes 0.
    type(QStringLiteral("++"));
    QCOMPARE(f.lblQTY->text(), QStringLiteral("3"));
    scan(kHerb);
    QCOMPARE(f.fgrdHIST->item(1, 3)->text(), QStringLiteral("3"));
    QCOMPARE(f.fgrdHIST->item(1, 4)->text(), QStringLiteral("450"));
    QCOMPARE(f.fgrdHIST->item(1, 0)->background().color(), frmReg::PlainColor);
    QCOMPARE(f.lblSUM->text(), QStringLiteral("152"));
    type(QStringLiteral("--"));
    QCOMPARE(f.lblQTY->text(), QStringLiteral("-2"));
    type(QStringLiteral("++"));
    QCOMPARE(f.lblQTY->text(), QStringLiteral("1"));
    type(QStringLiteral("++"));
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
    QCOMPARE(f.lblBCD->text(), QString());
    QCOMPARE(f.fgrdHIST->rowCount(), 2);
    QCOMPARE(f.mDtlCnt(), 2);
    QCOMPARE(f.lblQTY->text(), QStringLiteral("2"));
    scan(kInStore);
    QCOMPARE(backOf(f.lblBCD), frmReg::HighlightColor);
    QCOMPARE(f.fgrdHIST->item(2, 4)->text(), QStringLiteral("2400"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("2,848"));
}

void TestFrmReg::backspaceStepsAndTenderLimit()
{
    frmReg &f = *m_form;
    // With a total of 0, Enter on an empty barcode stays in scanning.
    key(Qt::Key_Return);
    QCOMPARE(f.RegMode(), 1);

    type(QStringLiteral("123"));
    key(Qt::Key_Backspace); // clears the whole field
    QCOMPARE(f.lblBCD->text(), QString());
    scan(kTomato);
    key(Qt::Key_Return);
    QCOMPARE(f.RegMode(), 4);
    key(Qt::Key_Return); // nothing tendered: nothing happens
    QCOMPARE(f.RegMode(), 4);
    type(QStringLiteral("123456")); // six digits: refused, kept for correction
    key(Qt::Key_Return);
    QCOMPARE(f.RegMode(), 4);
    QCOMPARE(f.lblRCV->text(), QStringLiteral("123456"));
    key(Qt::Key_Backspace);
    QCOMPARE(f.lblRCV->text(), QString());
    type(QStringLiteral("200")); // not enough: Enter in mode 5 stores nothing
    key(Qt::Key_Return);
    QCOMPARE(f.RegMode(), 5);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("-98"));
    type(QStringLiteral("5")); // ignored while the change is shown
    key(Qt::Key_Return);
    QCOMPARE(f.RegMode(), 5);
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
    f.cmdREG->click();
    QCOMPARE(count(QStringLiteral("D_REG")), 0);

    key(Qt::Key_Backspace);
    QCOMPARE(f.RegMode(), 4);
    QCOMPARE(f.lblRCV->text(), QString());
    key(Qt::Key_Backspace);
    QCOMPARE(f.RegMode(), 1);
    QCOMPARE(backOf(f.lblBCD), frmReg::HighlightColor);
    // A click on the amount tendered goes to payment as well.
    QTest::mouseClick(f.lblRCV, Qt::LeftButton);
    QCOMPARE(f.RegMode(), 4);
    type(QStringLiteral("300"));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    QCOMPARE(count(QStringLiteral("D_REG")), 1);
}

void TestFrmReg::deleteRenumbersAndStores()
{
    frmReg &f = *m_form;
    scan(kTomato);
    scan(kHerb);
    scan(kInStore);
    f.fgrdHIST->setCurrentCell(1, 0);
    key(Qt::Key_F3);
    QCOMPARE(f.fgrdHIST->rowCount(), 2);
    QCOMPARE(f.fgrdHIST->item(1, 0)->text(), QStringLiteral("2"));
    QCOMPARE(f.fgrdHIST->item(1, 1)->text(), QStringLiteral("きゅうり"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("1,498"));
    QCOMPARE(gDtl.size(), 3);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("-1,498"));

    key(Qt::Key_Return);
    type(QStringLiteral("2000"));
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 2);
    QCOMPARE(gDb->DLookup(QStringLiteral("BCD_NM"), QStringLiteral("D_REG_DTL"), QStringLiteral("DTL_NO=2")).toString(),
             QStringLiteral("きゅうり"));
    QCOMPARE(gDb->DLookup(QStringLiteral("DTL_CNT"), QStringLiteral("D_REG")).toLong(), 3);

    // Deleting the only line leaves an empty grid and a total of 0; on an empty sale F3 does no harm.
    scan(kHerb);
    key(Qt::Key_F3);
    QCOMPARE(f.fgrdHIST->rowCount(), 0);
    QCOMPARE(f.lblSUM->text(), QStringLiteral("0"));
    key(Qt::Key_F3);
    QCOMPARE(f.mDtlCnt(), 0);
    QCOMPARE(gDtl.size(), 1);
    scan(kTomato);
    QCOMPARE(f.fgrdHIST->item(0, 0)->text(), QStringLiteral("1"));
}

void TestFrmReg::cancelDropsTheSale()
{
    frmReg &f = *m_form;
    scan(kTomato);
    type(QStringLiteral("+"));
    key(Qt::Key_Return);
    type(QStringLiteral("500"));
    key(Qt::Key_F4);
    QCOMPARE(f.RegMode(), 1);
    QCOMPARE(f.fgrdHIST->rowCount(), 0);
    QCOMPARE(f.lblSUM->text(), QStringLiteral("0"));
    QCOMPARE(f.lblRCV->text(), QString());
    QCOMPARE(f.lblQTY->text(), QStringLiteral("1"));
    QCOMPARE(gDtl.size(), 1);
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
    key(Qt::Key_F6); // nothing stored yet: no reprint
    QCOMPARE(f.mLastRegId(), 0);
}

void TestFrmReg::priceAndQuantityDialogs()
{
    frmReg &f = *m_form;
    scan(kTomato);
    scan(kHerb);
    key(Qt::Key_Return);
    type(QStringLiteral("1000"));
    key(Qt::Key_Return);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("552"));

    // Price of line 1: Enter writes it at once, ｷｬﾝｾﾙ afterwards only closes.
    f.fgrdHIST->setCurrentCell(0, 0);
    onDialog([](QWidget *w) {
        auto *d = qobject_cast<fdlEditPrc *>(w);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("単価修正"));
        QCOMPARE(d->lblO_PRC->text(), QStringLiteral("298"));
        QCOMPARE(d->txtPRC->text(), QStringLiteral("298"));
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
    QCOMPARE(gDtl[0].PRC, money("350"));
    QCOMPARE(gDtl[0].D_PRC, money("-52")); // raised: a surcharge
    QCOMPARE(f.fgrdHIST->item(0, 4)->text(), QStringLiteral("350"));
    QCOMPARE(f.lblSUM->text(), QStringLiteral("500"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("500"));

    // Quantity of line 1: a text that is no number keeps the focus, 設定 writes and closes; the price
    // difference stays.
    f.fgrdHIST->setCurrentCell(0, 0);
    onDialog([](QWidget *w) {
        auto *d = qobject_cast<fdlEditQty *>(w);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QStringLiteral("数量変更"));
        QCOMPARE(d->lblPRC->text(), QStringLiteral("350"));
        QTest::keyClicks(d->txtQTY, QStringLiteral("x2"));
        QTest::keyClick(d->txtQTY, Qt::Key_Return);
        QCOMPARE(d->focusWidget(), d->txtQTY);
        QCOMPARE(gDtl[0].QTY, money("1"));
        d->Command1[1]->click();
        QVERIFY(d->isVisible());
        d->txtQTY->setText(QStringLiteral("-2"));
        d->Command1[1]->click();
        QVERIFY(!d->isVisible());
    });
    key(Qt::Key_F2);
    QVERIFY(m_dialogSeen);
    QCOMPARE(gDtl[0].QTY, money("-2"));
    QCOMPARE(gDtl[0].AMT, money("-700"));
    QCOMPARE(gDtl[0].D_PRC, money("-52"));
    QCOMPARE(f.fgrdHIST->item(0, 0)->background().color(), frmReg::FailedColor);
    QCOMPARE(f.lblSUM->text(), QStringLiteral("-550"));

    // Quantity 0 keeps the line at amount 0; the price back at the original leaves no difference.
    f.fgrdHIST->setCurrentCell(1, 0);
    onDialog([](QWidget *w) {
        auto *d = qobject_cast<fdlEditQty *>(w);
        QVERIFY(d);
        QCOMPARE(d->lblBCD_NM->text(), kHerbName);
        d->txtQTY->setText(QStringLiteral("0"));
        QTest::keyClick(d->txtQTY, Qt::Key_Return);
        QTest::keyClick(d->focusWidget(), Qt::Key_Return); // on 設定
    });
    key(Qt::Key_F2);
    QVERIFY(m_dialogSeen);
    QCOMPARE(f.fgrdHIST->rowCount(), 2);
    QCOMPARE(f.fgrdHIST->item(1, 4)->text(), QStringLiteral("0"));
    f.fgrdHIST->setCurrentCell(0, 0);
    onDialog([](QWidget *w) {
        auto *d = qobject_cast<fdlEditPrc *>(w);
        d->txtPRC->setText(QStringLiteral("298"));
        d->Command1[1]->click();
    });
    key(Qt::Key_F1);
    QCOMPARE(gDtl[0].D_PRC, Currency());
    QCOMPARE(f.lblSUM->text(), QStringLiteral("-596"));
    QCOMPARE(f.lblCHG->text(), QStringLiteral("1,596"));
}

void TestFrmReg::dialogsWithoutALine()
{
    // With the header row current there is no line: F1, F2 and F3 open nothing and change nothing.
    for (Qt::Key k : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3}) {
        onDialog([](QWidget *) {});
        key(k);
        QVERIFY(!m_dialogSeen);
    }
    QCOMPARE(m_form->fgrdHIST->currentRow(), -1);
    QCOMPARE(gDtl.size(), 1);
}

void TestFrmReg::zeroAndNegativeTotalsStore()
{
    frmReg &f = *m_form;
    // A sale that nets to 0 stores without any amount tendered.
    scan(kTomato);
    type(QStringLiteral("-"));
    scan(kTomato);
    QCOMPARE(f.lblSUM->text(), QStringLiteral("0"));
    key(Qt::Key_Return); // total 0: no payment step
    QCOMPARE(f.RegMode(), 1);
    f.cmdREG->click();
    QCOMPARE(count(QStringLiteral("D_REG")), 1);
    QCOMPARE(gDb->DLookup(QStringLiteral("AMT_SUM"), QStringLiteral("D_REG")).toCurrency(), Currency());

    // A pure return pays money out.
    type(QStringLiteral("-"));
    scan(kHerb);
    key(Qt::Key_Return);
    QCOMPARE(f.RegMode(), 4);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("150"));
    f.cmdREG->click();
    QCOMPARE(count(QStringLiteral("D_REG")), 2);
    QCOMPARE(gDb->DLookup(QStringLiteral("CHG"), QStringLiteral("D_REG"), QStringLiteral("REG_ID=2")).toCurrency(),
             money("150"));
    QCOMPARE(gDb->DLookup(QStringLiteral("QTY"), QStringLiteral("D_REG_DTL"), QStringLiteral("REG_ID=2")).toCurrency(),
             money("-1"));
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
    QCOMPARE(f.fgrdHIST->rowCount(), 2);
    QCOMPARE(f.lblCHG->text(), QStringLiteral("52"));
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 0);

    // The database comes back: Enter stores the same sale once.
    gDb->EXEC(QStringLiteral("DROP TRIGGER fail_second"));
    key(Qt::Key_Return);
    QCOMPARE(m_program->messages().prompts().count(kFailedToStore), 1);
    QCOMPARE(f.RegMode(), 1);
    QCOMPARE(count(QStringLiteral("D_REG")), 1);
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), 2);
    QCOMPARE(gDb->DLookup(QStringLiteral("RCV"), QStringLiteral("D_REG")).toCurrency(), money("500"));
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
