// The settlement screen and the payment-date dialog as the operator sees them: keys and clicks reach the grid and
// show in the cells' colours, the confirmation closes the day and ends the run, the payment date is asked over
// the screen; the dialog shows its month, moves with the keypad and stores the date only on OK.
#include "support/ModalWatch.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include "data/Globals.h"
#include "settlement/PayCls.h"
#include "settlement/fdlSetPayDate.h"
#include "settlement/frmAdj.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Rows;

namespace {

void enter(QWidget *w, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(w, Qt::Key_Return);
}

} // namespace

class TestFrmAdj : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_program.reset(); }

    void keysAndClicksReachTheGrid();
    void confirmationClosesTheDay();
    void payDateDialog();

private:
    std::unique_ptr<frmAdj> open();

    std::unique_ptr<TestProgram> m_program;
    int m_ends = 0;
};

void TestFrmAdj::init()
{
    m_program = std::make_unique<TestProgram>(QDateTime(QDate(2024, 4, 1), QTime(18, 0)));
    m_program->createDatabases();
    m_program->openAll();
    gSalesDate = day(2024, 4, 1);
    m_ends = 0;
    master("CLS_TYPE", QStringLiteral("1"));
    master("CLS_SITE_DAY", QStringLiteral("1"));
    local("PAY_CLS", QStringLiteral("0"));
    local("PRINT_DAILY_REPORT", QStringLiteral("0"));
    local("PRINT_BANK_TRN", QStringLiteral("0"));
    sale(1, gSalesDate, {{45, "2", "1200"}});
}

std::unique_ptr<frmAdj> TestFrmAdj::open()
{
    auto f = std::make_unique<frmAdj>();
    connect(f.get(), &frmAdj::closed, this, [this] { ++m_ends; });
    f->show();
    f->activateWindow();
    f->setFocus();
    return f;
}

void TestFrmAdj::keysAndClicksReachTheGrid()
{
    auto f = open();
    QCOMPARE(f->windowTitle() + u' ' + f->lblPREV_SUM->text(), QStringLiteral("日次集計 41,650"));
    // The current cash cell yellow, its row's denomination red; the rest white and black.
    const auto colours = [&f](int row) {
        return QList<QColor>{backOf(f->lblCASH[row]), backOf(f->lblCHG[row]), f->lblAMT[row]->palette().color(QPalette::WindowText)};
    };
    const QColor yellow(255, 255, 127), white(255, 255, 255), red(255, 0, 0), black(0, 0, 0);
    QCOMPARE(colours(0), (QList<QColor>{yellow, white, red}));
    QTest::keyClicks(f.get(), QStringLiteral("3"));
    enter(f.get());
    QCOMPARE(f->lblCASH[0]->text() + u' ' + f->lblCASH_SUM->text() + u' ' + f->lblPOST_SUM->text(),
             QStringLiteral("3 30,000 30,000"));
    QCOMPARE(colours(0), (QList<QColor>{white, white, black}));
    QCOMPARE(colours(1), (QList<QColor>{yellow, white, red}));
    // A click makes a change cell the current one.
    QTest::mouseClick(f->lblCHG[3], Qt::LeftButton);
    QCOMPARE(colours(3), (QList<QColor>{white, yellow, red}));
    QCOMPARE(colours(1), (QList<QColor>{white, white, black}));
}

void TestFrmAdj::confirmationClosesTheDay()
{
    auto f = open();
    QTest::keyClicks(f.get(), QStringLiteral("2"));
    enter(f.get(), 20);
    QVERIFY(f->lblMSG->isVisible());
    QCOMPARE(f->lblMSG->text(), QStringLiteral("日次締処理を行います。\nOK:Enter ｷｬﾝｾﾙ:BS"));
    QTest::keyClick(f.get(), Qt::Key_Backspace);
    QVERIFY(!f->lblMSG->isVisible());

    // A failed close keeps the question on the screen.
    failOn(QStringLiteral("INSERT"), QStringLiteral("B_REG"));
    enter(f.get(), 2);
    QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("日次締処理に失敗しました。")});
    QVERIFY(f->isVisible() && f->lblMSG->isVisible());
    // Enter closes the day and the screen: the run ends. The payment date is asked modally over the screen
    // (daily closing paid the next day); Enter stores the moved date.
    stopFailing(QStringLiteral("INSERT"), QStringLiteral("B_REG"));
    local("PAY_CLS", QStringLiteral("1"));
    const auto asked = ModalWatch::on<fdlSetPayDate>([](fdlSetPayDate *dialog) {
        QCOMPARE(dialog->date(), day(2024, 4, 2));
        QTest::keyClick(dialog, Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(dialog, Qt::Key_Enter, Qt::KeypadModifier);
    });
    enter(f.get());
    QVERIFY(asked.seen());
    QCOMPARE(m_program->messages().prompts().last(), QStringLiteral("締処理を終了しました。"));
    QCOMPARE(m_ends, 1);
    QVERIFY(!f->isVisible());
    QCOMPARE(value(QStringLiteral("SELECT CASH_SUM FROM D_ADJ")), QStringLiteral("20000"));
    QCOMPARE(value(QStringLiteral("SELECT PAY_DATE FROM D_PAY_DTL WHERE FMR_ID=45")), QStringLiteral("2024-04-03"));

    // Opened again on the closed day: its counts; a second close is refused and ends the run; Esc ends it too.
    auto g = open();
    QCOMPARE(g->lblCASH[0]->text(), QStringLiteral("2"));
    enter(g.get(), 21);
    QCOMPARE(m_program->messages().prompts().last(),
             QStringLiteral("当日締データは既に登録されています。\r\n締データを取り消して再登録してください。"));
    QCOMPARE(m_ends, 2);
    QTest::keyClick(open().get(), Qt::Key_Escape);
    QCOMPARE(m_ends, 3);
}

void TestFrmAdj::payDateDialog()
{
    // The month of the date with the date marked: October 2022 begins on a Saturday (cells 6 to 36).
    gPayDate = day(2022, 10, 31);
    fdlSetPayDate d;
    QCOMPARE(d.windowTitle() + u' ' + d.lblYM->text() + u' ' + d.lblDAY[36]->text(), QStringLiteral("支払日指定 2022年10月 31"));
    for (int i = 0; i < fdlSetPayDate::DayCells; ++i)
        QCOMPARE(!d.lblDAY[i]->isHidden(), i >= 6);
    // Chosen yellow, Sundays pink, Saturdays light blue.
    QCOMPARE((QList<QColor>{backOf(d.lblDAY[36]), backOf(d.lblDAY[7]), backOf(d.lblDAY[13]), backOf(d.lblDAY[8])}),
             (QList<QColor>{QColor(255, 255, 0), QColor(255, 192, 192), QColor(192, 255, 255), QColor(255, 255, 255)}));
    // Keypad + past the month end shows the next month, Tuesday the 1st marked; - goes back; Enter stores it.
    QTest::keyClick(&d, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(d.lblYM->text() + u' ' + d.lblDAY[2]->text(), QStringLiteral("2022年11月 1"));
    QCOMPARE(backOf(d.lblDAY[2]), QColor(255, 255, 0));
    QTest::keyClick(&d, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&d, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(gPayDate, day(2022, 10, 31));
    QTest::keyClick(&d, Qt::Key_Return);
    QCOMPARE(gPayDate, day(2022, 10, 30));
    // Cancel leaves the payment date as it was.
    fdlSetPayDate e;
    QTest::keyClick(&e, Qt::Key_Minus, Qt::KeypadModifier);
    e.CancelButton->click();
    QCOMPARE(gPayDate, day(2022, 10, 30));
}

QTEST_MAIN(TestFrmAdj)
#include "test_frmadj.moc"
