// The settlement screen driven by keys as the operator uses it: opening float, counts, the change column,
// Backspace, the 4-digit limit, the confirmation, and the close that asks for the payment date.
#include "support/Rows.h"

#include "data/Globals.h"
#include "data/clsDb.h"
#include "settlement/DailyClose.h"
#include "settlement/PayCls.h"
#include "settlement/SetCls.h"
#include "settlement/fdlSetPayDate.h"
#include "settlement/frmAdj.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace Rows;

namespace {

QColor textOf(QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

void type(QWidget *w, const char *digits)
{
    for (const char *c = digits; *c; ++c)
        QTest::keyClick(w, Qt::Key(Qt::Key_0 + (*c - '0')));
}

void enter(QWidget *w, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(w, Qt::Key_Return);
}

void back(QWidget *w)
{
    QTest::keyClick(w, Qt::Key_Backspace);
}

} // namespace

class TestFrmAdj : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_program.reset(); }

    void openingFloatFromTheChangeFund();
    void openingFloatFromThePreviousClosedDay();
    void countingTheCash();
    void backspaceAndDigitLimit();
    void changeColumnKeepsChangeWithinCash();
    void lowerCountNeedsTwoEnters();
    void confirmationAndClose();
    void reopenedClosedDay();
    void payDateAskedBeforeThePaymentClosing();
    void screenshots();

private:
    std::unique_ptr<frmAdj> open();

    std::unique_ptr<TestProgram> m_program;
    int m_ends = 0;
    const double m_day = day(2024, 4, 1);
};

void TestFrmAdj::init()
{
    m_program = std::make_unique<TestProgram>(QDateTime(QDate(2024, 4, 1), QTime(18, 0)));
    m_program->createDatabases();
    m_program->openAll();
    gSalesDate = m_day;
    m_ends = 0;
    master("CLS_TYPE", QStringLiteral("1"));
    local("PAY_CLS", QStringLiteral("0"));
    local("PRINT_DAILY_REPORT", QStringLiteral("0"));
    local("PRINT_BANK_TRN", QStringLiteral("0"));
    // The change fund with 5 pieces of 5,000 yen: 0 2→5 0 20 10 50 20 50 20 50.
    master("DEF_02", QStringLiteral("5"));
}

std::unique_ptr<frmAdj> TestFrmAdj::open()
{
    auto f = std::make_unique<frmAdj>();
    // Its close ends the run.
    connect(f.get(), &frmAdj::closed, this, [this] { ++m_ends; });
    f->show();
    f->activateWindow();
    f->setFocus();
    return f;
}

void TestFrmAdj::openingFloatFromTheChangeFund()
{
    auto f = open();
    QCOMPARE(f->windowTitle(), QStringLiteral("日次集計"));
    const char *fund[] = {"0", "5", "0", "20", "10", "50", "20", "50", "20", "50"};
    for (int i = 0; i < AdjGrid::Rows; ++i) {
        QCOMPARE(f->lblPREV[i]->text(), QString::fromLatin1(fund[i]));
        QCOMPARE(f->lblDEF[i]->text(), QString::fromLatin1(fund[i]));
        QCOMPARE(f->lblCASH[i]->text(), QStringLiteral("0"));
    }
    QCOMPARE(f->lblPREV_SUM->text(), QStringLiteral("56,650"));
    QCOMPARE(f->lblDEF_SUM->text(), QStringLiteral("56,650"));
    QCOMPARE(f->lblCASH_SUM->text(), QStringLiteral("0"));
    // At the first cash cell.
    QCOMPARE(f->RowIdx(), qint16(0));
    QCOMPARE(backOf(f->lblCASH[0]), frmAdj::CurrentCellColor);
    QCOMPARE(textOf(f->lblAMT[0]), frmAdj::CurrentRowTextColor);
    QCOMPARE(backOf(f->lblCHG[0]), frmAdj::PlainCellColor);
    QVERIFY(!f->lblMSG->isVisible());
}

void TestFrmAdj::openingFloatFromThePreviousClosedDay()
{
    // Two closed days before this one; the later one's change kept is this day's float.
    for (double d : {day(2024, 3, 25), day(2024, 3, 29)}) {
        gSalesDate = d;
        sale(int(d), d, {{45, "1", "100"}});
        AdjGrid g;
        for (int i = 0; i < AdjGrid::Rows; ++i) {
            g.PREV[i] = QStringLiteral("0");
            g.CASH[i] = QString::number(d == day(2024, 3, 25) ? 9 : i + 1);
            g.DEF[i] = QStringLiteral("99");
        }
        g.SetCalsSum();
        QVERIFY(SetCls(g));
    }
    // A denomination stored under another value does not carry over.
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ SET AMT_02=9999"));
    gSalesDate = m_day;
    auto f = open();
    for (int i = 0; i < AdjGrid::Rows; ++i)
        QCOMPARE(f->lblPREV[i]->text(), i == 1 ? QStringLiteral("0") : QString::number(i + 1));
    QCOMPARE(f->lblPREV_SUM->text(), QStringLiteral("23,585")); // 10000 + 0 + 6000 + 4000 + 2500 + 600 + 350 + 80 + 45 + 10
}

void TestFrmAdj::countingTheCash()
{
    auto f = open();
    type(f.get(), "1");
    // The totals follow from the next key on.
    QCOMPARE(f->lblCASH[0]->text(), QStringLiteral("1"));
    QCOMPARE(f->lblCASH_SUM->text(), QStringLiteral("0"));
    enter(f.get());
    QCOMPARE(f->lblCASH_SUM->text(), QStringLiteral("10,000"));
    QCOMPARE(f->lblCHG[0]->text(), QStringLiteral("0"));
    QCOMPARE(f->lblPOST[0]->text(), QStringLiteral("1"));
    QCOMPARE(f->RowIdx(), qint16(1));
    QCOMPARE(textOf(f->lblAMT[0]), QColor(Qt::black));
    QCOMPARE(textOf(f->lblAMT[1]), frmAdj::CurrentRowTextColor);

    // Three pieces where five should stay: all three stay. Eight: five stay, three go to the bank.
    type(f.get(), "3");
    enter(f.get());
    QCOMPARE(f->lblCHG[1]->text(), QStringLiteral("3"));
    QCOMPARE(f->lblPOST[1]->text(), QStringLiteral("0"));
    back(f.get()); // on a zero cell: up a row
    QCOMPARE(f->RowIdx(), qint16(1));
    type(f.get(), "8"); // the first digit replaces the count
    enter(f.get());
    QCOMPARE(f->lblCASH[1]->text(), QStringLiteral("8"));
    QCOMPARE(f->lblCHG[1]->text(), QStringLiteral("5"));
    QCOMPARE(f->lblPOST[1]->text(), QStringLiteral("3"));
    QCOMPARE(f->lblCASH_SUM->text(), QStringLiteral("50,000"));
    QCOMPARE(f->lblCHG_SUM->text(), QStringLiteral("25,000"));
    QCOMPARE(f->lblPOST_SUM->text(), QStringLiteral("25,000"));

    // Down to the 1-yen row; Enter there goes to the top of the change column.
    enter(f.get(), 7);
    QCOMPARE(f->RowIdx(), qint16(9));
    QCOMPARE(f->ColIdx(), qint16(0));
    enter(f.get());
    QCOMPARE(f->RowIdx(), qint16(0));
    QCOMPARE(f->ColIdx(), qint16(1));
    QCOMPARE(backOf(f->lblCHG[0]), frmAdj::CurrentCellColor);
    QCOMPARE(backOf(f->lblCASH[0]), frmAdj::PlainCellColor);
    // Backspace on the first (zero) change cell goes back to the last cash cell.
    back(f.get());
    QCOMPARE(f->RowIdx(), qint16(9));
    QCOMPARE(f->ColIdx(), qint16(0));

    // A count typed and left with a click counts at once: its change follows the new count before the change
    // column takes the figures as the operator's.
    QTest::mouseClick(f->lblCASH[1], Qt::LeftButton);
    type(f.get(), "2");
    QTest::mouseClick(f->lblCHG[1], Qt::LeftButton);
    QCOMPARE(f->RowIdx(), qint16(1));
    QCOMPARE(f->ColIdx(), qint16(1));
    QCOMPARE(backOf(f->lblCHG[1]), frmAdj::CurrentCellColor);
    QCOMPARE(f->lblCHG[1]->text(), QStringLiteral("2"));
    QCOMPARE(f->lblPOST[1]->text(), QStringLiteral("0"));
    QCOMPARE(f->lblCASH_SUM->text(), QStringLiteral("20,000"));
}

void TestFrmAdj::backspaceAndDigitLimit()
{
    auto f = open();
    enter(f.get(), 3);
    type(f.get(), "12345");
    QCOMPARE(f->lblCASH[3]->text(), QStringLiteral("1234"));
    back(f.get()); // a count is cleared, the row stays
    QCOMPARE(f->lblCASH[3]->text(), QStringLiteral("0"));
    QCOMPARE(f->RowIdx(), qint16(3));
    type(f.get(), "07"); // a cell showing 0 takes the next digit in its place
    QCOMPARE(f->lblCASH[3]->text(), QStringLiteral("7"));
    type(f.get(), "5");
    QCOMPARE(f->lblCASH[3]->text(), QStringLiteral("75"));
    back(f.get());
    back(f.get());
    back(f.get());
    back(f.get());
    QCOMPARE(f->RowIdx(), qint16(0));
    back(f.get()); // nothing above the first row
    QCOMPARE(f->RowIdx(), qint16(0));
    QCOMPARE(f->ColIdx(), qint16(0));
    // Letters and signs do nothing.
    QTest::keyClicks(f.get(), QStringLiteral("a-+."));
    QCOMPARE(f->lblCASH[0]->text(), QStringLiteral("0"));
}

void TestFrmAdj::changeColumnKeepsChangeWithinCash()
{
    auto f = open();
    type(f.get(), "3");
    enter(f.get(), 10);
    QCOMPARE(f->ColIdx(), qint16(1));
    // More change than was counted: the deposit goes negative and Enter stays until corrected.
    type(f.get(), "4");
    enter(f.get());
    QCOMPARE(f->lblPOST[0]->text(), QStringLiteral("-1"));
    QCOMPARE(f->RowIdx(), qint16(0));
    enter(f.get());
    QCOMPARE(f->RowIdx(), qint16(0));
    back(f.get()); // clears the change figure
    QCOMPARE(f->lblCHG[0]->text(), QStringLiteral("0"));
    type(f.get(), "1");
    enter(f.get());
    QCOMPARE(f->RowIdx(), qint16(1));
    QCOMPARE(f->lblCHG[0]->text(), QStringLiteral("1"));
    QCOMPARE(f->lblPOST[0]->text(), QStringLiteral("2"));
    // The change typed stays as typed: the standard float no longer decides.
    QCOMPARE(f->lblCHG_SUM->text(), QStringLiteral("10,000"));
    QCOMPARE(f->lblPOST_SUM->text(), QStringLiteral("20,000"));
}

void TestFrmAdj::lowerCountNeedsTwoEnters()
{
    auto f = open();
    enter(f.get());
    type(f.get(), "8");
    enter(f.get());
    QCOMPARE(f->lblCHG[1]->text(), QStringLiteral("5"));
    QTest::mouseClick(f->lblCASH[1], Qt::LeftButton);
    type(f.get(), "2");
    QCOMPARE(f->lblCASH[1]->text(), QStringLiteral("2"));
    // The first Enter still sees the change of 5 from before and only recomputes.
    enter(f.get());
    QCOMPARE(f->RowIdx(), qint16(1));
    QCOMPARE(f->lblCHG[1]->text(), QStringLiteral("2"));
    enter(f.get());
    QCOMPARE(f->RowIdx(), qint16(2));
}

void TestFrmAdj::confirmationAndClose()
{
    sale(1, m_day, {{45, "2", "1200"}});
    auto f = open();
    type(f.get(), "2");
    enter(f.get());
    type(f.get(), "6");
    enter(f.get(), 9);
    QCOMPARE(f->ColIdx(), qint16(1));
    enter(f.get(), 9);
    QCOMPARE(f->RowIdx(), qint16(9));
    QVERIFY(!f->lblMSG->isVisible());
    enter(f.get());
    QCOMPARE(f->RowIdx(), AdjGrid::ConfirmRow);
    QVERIFY(f->lblMSG->isVisible());
    QCOMPARE(f->lblMSG->text(), QStringLiteral("日次締処理を行います。\nOK:Enter ｷｬﾝｾﾙ:BS"));
    for (int i = 0; i < AdjGrid::Rows; ++i)
        QCOMPARE(textOf(f->lblAMT[i]), QColor(Qt::black));
    // Backspace returns to the last change cell.
    back(f.get());
    QCOMPARE(f->RowIdx(), qint16(9));
    QCOMPARE(f->ColIdx(), qint16(1));
    QVERIFY(!f->lblMSG->isVisible());
    enter(f.get());
    QCOMPARE(m_ends, 0);

    // Enter closes the day and the screen.
    enter(f.get());
    QCOMPARE(m_program->messages().prompts(), QStringList{QString::fromUtf8(DailyCloseText::Finished)});
    QCOMPARE(m_ends, 1);
    QVERIFY(!f->isVisible());
    QCOMPARE(count(QStringLiteral("D_ADJ")), 1);
    QCOMPARE(value(QStringLiteral("SELECT CASH_01 FROM D_ADJ")), QStringLiteral("2"));
    QCOMPARE(value(QStringLiteral("SELECT CHG_02 FROM D_ADJ")), QStringLiteral("5"));
    QCOMPARE(value(QStringLiteral("SELECT POST_02 FROM D_ADJ")), QStringLiteral("1"));
    QCOMPARE(value(QStringLiteral("SELECT CASH_SUM FROM D_ADJ")), QStringLiteral("50000"));
    QCOMPARE(value(QStringLiteral("SELECT POST_SUM FROM D_ADJ")), QStringLiteral("25000"));
    QCOMPARE(value(QStringLiteral("SELECT PREV_SUM FROM D_ADJ")), QStringLiteral("56650"));
    QCOMPARE(count(QStringLiteral("D_REG")), 0);

    // The failed close keeps the question on the screen.
    m_program->messages().clear();
    gSalesDate = day(2024, 4, 2);
    sale(2, gSalesDate, {{45, "1", "100"}});
    failOn(QStringLiteral("INSERT"), QStringLiteral("B_REG"));
    auto g = open();
    enter(g.get(), 20);
    QCOMPARE(g->RowIdx(), AdjGrid::ConfirmRow);
    enter(g.get());
    QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("日次締処理に失敗しました。")});
    QVERIFY(g->isVisible());
    QCOMPARE(g->RowIdx(), AdjGrid::ConfirmRow);
    QVERIFY(g->lblMSG->isVisible());
    QCOMPARE(m_ends, 1);
    // Esc ends the run.
    QTest::keyClick(g.get(), Qt::Key_Escape);
    QCOMPARE(m_ends, 2);
}

void TestFrmAdj::reopenedClosedDay()
{
    // Stored with 8 pieces of 5,000 yen of which the operator kept only one.
    sale(1, m_day, {{45, "2", "1200"}});
    AdjGrid stored;
    for (int i = 0; i < AdjGrid::Rows; ++i)
        stored.PREV[i] = stored.CASH[i] = stored.DEF[i] = stored.CHG[i] = QStringLiteral("0");
    stored.CASH[1] = QStringLiteral("8");
    stored.CHG[1] = QStringLiteral("1");
    stored.ColIdx = 1;
    stored.SetCalsSum();
    QVERIFY(SetCls(stored));
    // Shown again: the stored counts, with change and deposit worked out again from the cash column.
    auto f = open();
    QCOMPARE(f->lblCASH[1]->text(), QStringLiteral("8"));
    QCOMPARE(f->lblCHG[1]->text(), QStringLiteral("5"));
    QCOMPARE(f->lblPOST[1]->text(), QStringLiteral("3"));
    // A second close of the day is refused and ends the run.
    enter(f.get(), 21);
    QCOMPARE(m_program->messages().prompts(), QStringList{QString::fromUtf8(DailyCloseText::AlreadyClosed)});
    QCOMPARE(m_ends, 1);
    QCOMPARE(value(QStringLiteral("SELECT CHG_02 FROM D_ADJ")), QStringLiteral("1"));
}

void TestFrmAdj::payDateAskedBeforeThePaymentClosing()
{
    // In the close: asked modally over the screen; Enter stores the moved date for the payment closing.
    local("PAY_CLS", QStringLiteral("1"));
    master("CLS_SITE_DAY", QStringLiteral("1"));
    sale(1, m_day, {{45, "2", "1200"}});
    auto f = open();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<fdlSetPayDate *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        shown = true;
        QCOMPARE(dialog->date(), day(2024, 4, 2));
        QTest::keyClick(dialog, Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(dialog, Qt::Key_Enter, Qt::KeypadModifier);
    });
    enter(f.get(), 21);
    QVERIFY(shown);
    QCOMPARE(m_ends, 1);
    QCOMPARE(value(QStringLiteral("SELECT PAY_DATE FROM D_PAY_DTL WHERE FMR_ID=45")), QStringLiteral("2024-04-03"));
}

void TestFrmAdj::screenshots()
{
    auto f = open();
    f->resize(1020, 752);
    for (const char *count : {"2", "8", "3", "27", "14"}) {
        type(f.get(), count);
        enter(f.get());
    }
    QVERIFY(f->grab().save(QStringLiteral("/tmp/frmAdj.png")));
    enter(f.get(), 15);
    QVERIFY(f->grab().save(QStringLiteral("/tmp/frmAdj-confirm.png")));
    gPayDate = day(2024, 4, 2);
    fdlSetPayDate d;
    d.show();
    QVERIFY(d.grab().save(QStringLiteral("/tmp/fdlSetPayDate.png")));
}

QTEST_MAIN(TestFrmAdj)
#include "test_frmadj.moc"
