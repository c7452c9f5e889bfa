// The daily close and its undo on a real database, every failure rolled back; the settlement screen over it as
// the operator sees it: keys and clicks reach the grid and show in the cells' colours, the confirmation closes
// the day with its messages, the payment date asked over the screen, the daily report and the transfer request;
// the payment-date dialog. On SQLite and again on the MariaDB test server.
#include "support/BothEngines.h"
#include "support/FormDump.h"
#include "support/ModalWatch.h"
#include "support/RecordingSurface.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "printing/Printers.h"
#include "settlement/AdjGrid.h"
#include "settlement/DailyClose.h"
#include "settlement/PayCls.h"
#include "settlement/SetCls.h"
#include "settlement/fdlSetPayDate.h"
#include "settlement/frmAdj.h"
#include "tax/DayTax.h"
#include "tax/SaleTaxRows.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Rows;

namespace {

const QString kFinished = QStringLiteral("締処理を終了しました。");

// The day's sales (1 to 3) in the tables of the sales (D_) or of their backup (B_): headers, lines and the
// tax kept with them.
QString salesIn(const char *prefix)
{
    QStringList out;
    for (const char *table : {"REG", "REG_DTL", "REG_TAX", "REG_DTL_TAX"})
        out << row(QStringLiteral("SELECT * FROM %1%2 WHERE REG_ID < 4 ORDER BY 1, 2").arg(QString::fromLatin1(prefix), QString::fromLatin1(table)));
    return out.join(u'\n');
}

// The accountant's tax figures of the day: per rate amount/tax/sales, then the sales without tax kept.
QString taxFigures(double salesDate)
{
    const DayTax day = DayTax::Load(*gDb, salesDate);
    QStringList out;
    for (const DayTax::Rate &r : day.rates)
        out << QStringLiteral("%1:%2/%3/%4").arg(r.rate.toPlainText(), r.amount.toPlainText(), r.tax.toPlainText()).arg(r.sales);
    return out.join(u' ') + QStringLiteral(" none:%1/%2").arg(day.unrecordedAmount.toPlainText()).arg(day.unrecordedSales);
}

// The row counts of the tables (separated by spaces), separated by spaces.
QString counts(const char *tables)
{
    QStringList out;
    for (const QString &t : QString::fromLatin1(tables).split(u' '))
        out << QString::number(count(t));
    return out.join(u' ');
}

// The settlement of the day as counted on the screen: 3 × 10,000, 4 × 1,000, 7 × 100 yen, 2 of each kept.
AdjGrid countedGrid()
{
    AdjGrid g;
    g.PREV.fill(QStringLiteral("0"));
    g.CASH.fill(QStringLiteral("0"));
    g.DEF.fill(QStringLiteral("2"));
    g.PREV[3] = QStringLiteral("10");
    g.CASH[0] = QStringLiteral("3");
    g.CASH[3] = QStringLiteral("4");
    g.CASH[5] = QStringLiteral("7");
    g.SetCalsSum();
    return g;
}

RecordingSurface &pagePrinter()
{
    const QString name = QStringLiteral("Settlement Test Printer");
    if (!Printers::names().contains(name)) {
        Printers::add({name, [] { return std::make_unique<RecordingSurface>(true); }, {}});
        local("DEF_PRINTER", name);
    }
    Printers::select(int(Printers::names().indexOf(name)), Printers::Role::Page);
    return dynamic_cast<RecordingSurface &>(Printer());
}

void enter(QWidget *w, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(w, Qt::Key_Return);
}

} // namespace

class TestDailyClose : public QObject
{
    Q_OBJECT

public:
    explicit TestDailyClose(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup();

    void closeUndoClose();
    void failureInTheMiddle();
    void paymentClosingNotDone();
    void keysAndClicksReachTheGrid();
    void screenClosesTheDay();
    void payDateDialog();

private:
    std::unique_ptr<frmAdj> open();

    int m_ends = 0;
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
    const double m_day = day(2024, 3, 9);
};

void TestDailyClose::init()
{
    m_program = TestProgram::opened(false, m_onServer, QDateTime(QDate(2024, 3, 9), QTime(18, 30, 15)));
    gSalesDate = m_day;
    // Daily closing, paid the next working day; no printing unless a test asks for it.
    master("CLS_TYPE", QStringLiteral("1"));
    master("CLS_SITE_DAY", QStringLiteral("1"));
    for (const char *key : {"PAY_CLS", "PRINT_DAILY_REPORT", "PRINT_BANK_TRN"})
        local(key, QStringLiteral("0"));
    m_ends = 0;
    // Producer 45 sells in three sales, producer 7 in one; one sale of another day stays open. The tax is kept
    // with each sale: 10 % on product 2, 8 % on the others.
    sale(1, m_day, {{45, "2", "596"}, {7, "1", "150"}});
    sale(2, m_day, {{45, "1", "298"}});
    sale(3, m_day, {{45, "0.5", "600"}, {45, "1", "1200"}});
    sale(4, day(2024, 3, 8), {{45, "1", "999"}});
    const auto keep = [](int id, std::initializer_list<SaleTax::Line> lines) {
        SaleTaxRows::Insert(*gDb, id, SaleTax::Split(lines, [](qint32 prdId) { return money(prdId == 2 ? "0.1" : "0.08"); }));
    };
    keep(1, {{1, 1, money("596")}, {2, 2, money("150")}});
    keep(2, {{1, 1, money("298")}});
    keep(3, {{1, 1, money("600")}, {2, 1, money("1200")}});
    keep(4, {{1, 1, money("999")}});
}

std::unique_ptr<frmAdj> TestDailyClose::open()
{
    auto f = std::make_unique<frmAdj>();
    connect(f.get(), &frmAdj::closed, this, [this] { ++m_ends; });
    f->show();
    f->activateWindow();
    f->setFocus();
    return f;
}

void TestDailyClose::cleanup()
{
    Printers::clearAdded();
    m_program.reset();
}

void TestDailyClose::closeUndoClose()
{
    const QString sales = salesIn("D_");
    // 8 %: 596 holds 44, 298 holds 22, 1,800 holds 133; 10 %: 150 holds 13. The same before the close, after it
    // and after the undo.
    const QString figures = QStringLiteral("0.08:2694/199/3 0.1:150/13/1 none:0/0");
    QCOMPARE(taxFigures(m_day), figures);
    QVERIFY(SetCls(countedGrid()));
    // The day's takings, the counts of the screen and their totals; one row per producer.
    QCOMPARE(row(QStringLiteral("SELECT SALES_DATE, ADJ_DTM, AMT_SUM, AMT_01, PREV_04, CASH_01, CHG_01, POST_01, "
                                "PREV_SUM, CASH_SUM, CHG_SUM, POST_SUM FROM D_ADJ")),
             QStringLiteral("2024-03-09|2024-03-09 18:30:15|2844|10000|10|3|2|1|10000|34700|22200|12500"));
    QCOMPARE(row(QStringLiteral("SELECT FMR_ID, SALES_QTY, SALES_AMT, CLS_DATE FROM D_ADJ_DTL ORDER BY FMR_ID")),
             QStringLiteral("7|1|150|<null>\n45|4.5|2694|<null>"));
    // The day moved to the backup tables unchanged, its tax with it; the other day stayed.
    QCOMPARE(salesIn("B_"), sales);
    QCOMPARE(counts("D_REG D_REG_DTL D_REG_TAX D_REG_DTL_TAX"), QStringLiteral("1 1 1 1"));
    QCOMPARE(taxFigures(m_day), figures);
    QVERIFY(m_program->messages().shown().isEmpty());

    // The settlement rows are deleted after the sales came back: an undo failing there takes them away again.
    failOn(QStringLiteral("DELETE"), QStringLiteral("D_ADJ_DTL"));
    QVERIFY_THROWS_EXCEPTION(DbError, CancelDailyAdj());
    stopFailing(QStringLiteral("DELETE"), QStringLiteral("D_ADJ_DTL"));
    QCOMPARE(counts("D_REG D_REG_DTL D_REG_TAX D_ADJ D_ADJ_DTL"), QStringLiteral("1 1 1 1 2"));

    // Undo: the sales are back exactly as they were and the settlement is gone; the backup stays, and is not
    // counted twice.
    QCOMPARE(CancelDailyAdj(), long(0 + 0 + 3 + 5 + 1 + 2));
    QCOMPARE(salesIn("D_"), sales);
    QCOMPARE(counts("D_ADJ D_ADJ_DTL"), QStringLiteral("0 0"));
    QCOMPARE(taxFigures(m_day), figures);

    // A sale without tax kept added to the reopened day, then the second close: one copy of everything.
    sale(5, m_day, {{7, "1", "100"}});
    QVERIFY(SetCls(countedGrid()));
    QCOMPARE(value(QStringLiteral("SELECT AMT_SUM FROM D_ADJ")), QStringLiteral("2944"));
    QCOMPARE(value(QStringLiteral("SELECT SALES_AMT FROM D_ADJ_DTL WHERE FMR_ID=7")), QStringLiteral("250"));
    QCOMPARE(counts("D_ADJ D_ADJ_DTL B_REG B_REG_DTL B_REG_DTL_TAX"), QStringLiteral("1 2 4 6 5"));
    QCOMPARE(taxFigures(m_day), QStringLiteral("0.08:2694/199/3 0.1:150/13/1 none:100/1"));
}

void TestDailyClose::failureInTheMiddle()
{
    const QString sales = salesIn("D_");
    // The settlement row, the per-producer rows, the backup lines, deleting the lines, the headers last.
    for (const char *failing : {"INSERT D_ADJ", "INSERT D_ADJ_DTL", "INSERT B_REG_DTL", "DELETE D_REG_DTL", "DELETE D_REG"}) {
        const QStringList kindAndTable = QString::fromLatin1(failing).split(u' ');
        failOn(kindAndTable[0], kindAndTable[1]);
        QCOMPARE(RunDailyClose(countedGrid(), {}), DailyCloseResult::Failed);
        stopFailing(kindAndTable[0], kindAndTable[1]);
        QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("日次締処理に失敗しました。")});
        QCOMPARE(m_program->messages().shown().first().flags, int(Msg::Critical));
        QCOMPARE(salesIn("D_"), sales);
        QVERIFY2(counts("D_ADJ D_ADJ_DTL B_REG B_REG_DTL B_REG_TAX B_REG_DTL_TAX") == QStringLiteral("0 0 0 0 0 0"), failing);
        m_program->messages().clear();
    }
}

// A payment closing without a date or one that fails: the day is closed, the operator is told why, the sales
// wait unpaid for the next close.
void TestDailyClose::paymentClosingNotDone()
{
    local("PAY_CLS", QStringLiteral("1"));
    master("CLS_TYPE", QStringLiteral("2"));
    master("CLS_W_1", QStringLiteral("0"));
    int asked = 0;
    QCOMPARE(RunDailyClose(countedGrid(), [&] { ++asked; }), DailyCloseResult::Closed);
    // One message that names the setting; no payment-date question.
    QCOMPARE(m_program->messages().prompts(),
             (QStringList{kFinished, QStringLiteral("支払締処理を行いませんでした。売上は未精算のまま残ります。\r\n"
                                                    "支払情報の「週締１」に締曜日が設定されていません。")}));
    QCOMPARE(asked, 0);

    master("CLS_TYPE", QStringLiteral("1"));
    gSalesDate = day(2024, 3, 10);
    sale(5, gSalesDate, {{7, "1", "100"}});
    m_program->messages().clear();
    failOn(QStringLiteral("INSERT"), QStringLiteral("D_PAY_DTL"));
    QCOMPARE(RunDailyClose(countedGrid(), {}), DailyCloseResult::Closed);
    QCOMPARE(m_program->messages().prompts(),
             (QStringList{kFinished, QStringLiteral("支払締処理に失敗しました。売上は未精算のまま残ります。\r\n"
                                                    "次回の日次締処理で支払締をもう一度試みます。")}));
    QCOMPARE(m_program->messages().shown().last().flags, int(Msg::Critical));
    QCOMPARE(count(QStringLiteral("D_ADJ_DTL"), QStringLiteral("CLS_DATE IS NULL")), 3);
    QCOMPARE(count(QStringLiteral("D_PAY")), 0);
}

void TestDailyClose::keysAndClicksReachTheGrid()
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

// The screen's close: the confirmation, a failed close that keeps it, the payment date asked over the screen,
// the reports printed, the run ended; a second close of the day refused.
void TestDailyClose::screenClosesTheDay()
{
    producer(45, "220", "440");
    for (const char *key : {"PAY_CLS", "PRINT_DAILY_REPORT", "PRINT_BANK_TRN"})
        local(key, QStringLiteral("1"));
    const RecordingSurface &printer = pagePrinter();
    auto f = open();
    QTest::keyClicks(f.get(), QStringLiteral("2"));
    enter(f.get(), 20);
    QVERIFY(f->lblMSG->isVisible());
    QCOMPARE(f->lblMSG->text(), QStringLiteral("日次締処理を行います。\nOK:Enter ｷｬﾝｾﾙ:BS"));
    QTest::keyClick(f.get(), Qt::Key_Backspace);
    QVERIFY(!f->lblMSG->isVisible());

    // A failed close keeps the question; the engine working again, the close goes through.
    failOn(QStringLiteral("INSERT"), QStringLiteral("B_REG"));
    enter(f.get(), 2);
    stopFailing(QStringLiteral("INSERT"), QStringLiteral("B_REG"));
    QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("日次締処理に失敗しました。")});
    QVERIFY(f->isVisible() && f->lblMSG->isVisible());
    // Saturday closes, paid the next working day (Monday): asked modally over the screen, moved to Tuesday.
    const auto asked = ModalWatch::on<fdlSetPayDate>([](fdlSetPayDate *dialog) {
        QCOMPARE(dialog->date(), day(2024, 3, 11));
        QTest::keyClick(dialog, Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(dialog, Qt::Key_Enter, Qt::KeypadModifier);
    });
    enter(f.get());
    QVERIFY(asked.seen());
    QCOMPARE(m_program->messages().prompts().last(), kFinished);
    QCOMPARE(m_ends, 1);
    QVERIFY(!f->isVisible());
    QCOMPARE(row(QStringLiteral("SELECT CASH_SUM FROM D_ADJ")), QStringLiteral("20000"));
    QCOMPARE(row(QStringLiteral("SELECT CLS_DATE, PAY_DATE, REAL_AMT_SUM FROM D_PAY")),
             QStringLiteral("2024-03-09|2024-03-12|2198")); // 2,070 to producer 45, 128 to 7 (not in the master)
    // The daily report of the day with the deposit counted, then the transfer request with producer 45's transfer.
    QCOMPARE(printer.jobs().size(), 2);
    QVERIFY(FormDump::of(printer.jobs()[0]).contains(QStringLiteral("日報　令和 06 年 03 月 09 日")));
    QVERIFY(FormDump::of(printer.jobs()[0]).contains(QStringLiteral(" 20,000")));
    QVERIFY(FormDump::of(printer.jobs()[1]).contains(QStringLiteral(" 2,070")));

    // Opened again on the closed day: its counts; a second close is refused and ends the run; Esc ends it too.
    auto g = open();
    QCOMPARE(g->lblCASH[0]->text(), QStringLiteral("2"));
    enter(g.get(), 21);
    QCOMPARE(m_program->messages().prompts().last(),
             QStringLiteral("当日締データは既に登録されています。\r\n締データを取り消して再登録してください。"));
    QCOMPARE(m_ends, 2);
    QTest::keyClick(open().get(), Qt::Key_Escape);
    QCOMPARE(m_ends, 3);

    // A day without sales leaves no settlement and prints no daily report.
    gSalesDate = day(2024, 3, 10);
    QCOMPARE(RunDailyClose(countedGrid(), {}), DailyCloseResult::Closed);
    QCOMPARE(count(QStringLiteral("D_ADJ")), 1);
    QCOMPARE(printer.jobs().size(), 2);
}

void TestDailyClose::payDateDialog()
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
    QTest::keyClick(&d, Qt::Key_Return);
    QCOMPARE(gPayDate, day(2022, 10, 30));
    // Cancel leaves the payment date as it was (so do the keys before it).
    fdlSetPayDate e;
    QTest::keyClick(&e, Qt::Key_Minus, Qt::KeypadModifier);
    e.CancelButton->click();
    QCOMPARE(gPayDate, day(2022, 10, 30));
}

VANTLE_TEST_BOTH_ENGINES(TestDailyClose)

#include "test_daily_close.moc"
