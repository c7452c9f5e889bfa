// A shop's business days through the real screens as the program wires them: the calendar proposes the day, the
// register rings up sales and prints receipts, the settlement closes the day, the 15th brings the payment closing,
// the next day starts with the change kept, and the closed day is opened again. The days' totals and row counts are
// checked against yen worked out by hand from the demo shop's prices. On SQLite and again on the MariaDB server.
#include "support/BothEngines.h"
#include "support/ModalWatch.h"
#include "support/Rows.h"
#include "support/ShownWindow.h"
#include "support/TestProgram.h"
#include "app/InitObj.h"
#include "app/Screens.h"
#include "app/StartUp.h"
#include "base/DateValue.h"
#include "base/MessagePresenter.h"
#include "calendar/frmSetCal.h"
#include "checkout/fdlEditPrc.h"
#include "checkout/frmReg.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "printing/Printers.h"
#include "settlement/fdlSetPayDate.h"
#include "settlement/frmAdj.h"

#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace {

// The demo shop's articles rung up: three registered barcodes and two in-store labels (price in the label).
const QString kCucumber = QStringLiteral("2000040800798"); // 140 yen, producer 4 (transfer fee 330)
const QString kBroccoli = QStringLiteral("2000170200192"); // 140 yen, producer 17 (220)
const QString kPear = QStringLiteral("2000190600590");     // 350 yen, producer 19 (330)
const QString kTomato = QStringLiteral("0010001002507");   // 250 yen, producer 1 (220)
const QString kPeach = QStringLiteral("0580005012005");    // 1,200 yen, producer 5 (220)

// Row counts of the day's tables, in the order listed.
QString rowCounts()
{
    QStringList counts;
    for (const char *table : {"D_REG", "D_REG_DTL", "B_REG", "B_REG_DTL", "D_ADJ", "D_ADJ_DTL", "D_PAY", "D_PAY_DTL"})
        counts << QString::number(Rows::count(QString::fromLatin1(table)));
    return counts.join(u' ');
}

} // namespace

class TestDayInLife : public QObject
{
    Q_OBJECT

public:
    explicit TestDayInLife(bool onServer) : m_onServer(onServer) {}

private slots:
    void initTestCase();
    void cleanupTestCase();

    void firstDaySales();
    void firstDayClosePaysTheProducers();
    void secondDayStartsWithTheChangeKept();
    void reopeningTheClosedDay();

private:
    // A start as the program makes it on the day `date`: the date chosen on the calendar (one step per showing,
    // each going back `daysBack` from the date proposed), then the register.
    void startRun(QDate date, QList<int> daysBack = {0});
    QWidget *target() const { return QApplication::focusWidget() ? QApplication::focusWidget() : m_reg.data(); }
    void key(Qt::Key k) { QTest::keyClick(target(), k); }
    void type(const QString &keys) { QTest::keyClicks(target(), keys); }
    void scan(const QString &code) { type(code + u'\r'); } // the scanner ends a code with Enter
    void clickLine(int row);
    // Enter on the empty barcode, the amount tendered, Enter, Enter: the sale is stored and its change shown.
    void pay(const char *tendered, const char *change);
    // Esc on the register: the settlement takes over (m_adj) with the opening float given.
    void openSettlement(const char *openingFloat);
    // The drawer counted row by row, then the change column's corrections (rows not given stay), up to the question.
    void count(const QStringList &cash, const QStringList &change);
    int printed(const QString &pattern) const { return int(QDir(m_printDir).entryList({pattern}, QDir::Files).size()); }

    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
    QString m_printDir;
    QPointer<frmReg> m_reg;
    QPointer<frmAdj> m_adj;
};

void TestDayInLife::initTestCase()
{
    m_program = std::make_unique<TestProgram>(QDateTime(QDate(2024, 4, 15), QTime(8, 55)));
    m_program->createDatabases(true, m_onServer);
    m_printDir = m_program->path(QStringLiteral("print"));
    qputenv("VANTLE_PRINT_DIR", m_printDir.toUtf8());
    qunsetenv("VANTLE_RECEIPT_DEVICES");
    Printers::setSystemSource({});
    Printers::clearAdded();
    Printers::reload();
}

void TestDayInLife::cleanupTestCase()
{
    delete m_reg.data();
    delete m_adj.data();
    m_program.reset();
    qunsetenv("VANTLE_PRINT_DIR");
    Printers::reload();
}

void TestDayInLife::startRun(QDate date, QList<int> daysBack)
{
    InitObj();
    const StartUp::Screen screen = StartUp::ChooseSalesDate([&] {
        if (daysBack.isEmpty())
            return StartUp::CalendarExit::EndProgram;
        frmSetCal calendar;
        const auto step = ModalWatch::on<frmSetCal>([date, back = daysBack.takeFirst()](frmSetCal *c) {
            QCOMPARE(c->SysDate(), DateValue::fromParts(date.year(), date.month(), date.day()));
            for (int i = 0; i < back; ++i)
                QTest::keyClick(c, Qt::Key_Minus, Qt::KeypadModifier);
            QTest::keyClick(c, Qt::Key_Return);
        });
        return calendar.exec() == QDialog::Accepted ? StartUp::CalendarExit::Confirmed : StartUp::CalendarExit::Closed;
    });
    QCOMPARE(screen, StartUp::Screen::Register);
    m_reg = OpenRegister();
    m_reg->resize(1020, 752);
    m_reg->show();
    m_reg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_reg));
}

void TestDayInLife::clickLine(int row)
{
    QTableWidget *grid = m_reg->fgrdHIST;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 1)).center());
    QCOMPARE(grid->currentRow(), row);
}

void TestDayInLife::pay(const char *tendered, const char *change)
{
    key(Qt::Key_Return);
    type(QString::fromLatin1(tendered));
    key(Qt::Key_Return);
    QCOMPARE(m_reg->lblCHG->text(), QString::fromLatin1(change));
    m_program->clock().advanceMSecs(7 * 60 * 1000);
    key(Qt::Key_Return);
    QCOMPARE(m_reg->fgrdHIST->rowCount(), 0);
}

void TestDayInLife::openSettlement(const char *openingFloat)
{
    key(Qt::Key_Escape);
    m_adj = shownWindow<frmAdj>();
    QVERIFY(m_adj);
    m_adj->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_adj));
    QCOMPARE(m_adj->lblPREV_SUM->text(), QString::fromLatin1(openingFloat));
    QTRY_VERIFY(!m_reg);
}

void TestDayInLife::count(const QStringList &cash, const QStringList &change)
{
    for (const QStringList *column : {&cash, &change}) {
        for (int row = 0; row < 10; ++row) {
            QTest::keyClicks(m_adj, column->value(row));
            QTest::keyClick(m_adj, Qt::Key_Return);
        }
    }
    QVERIFY(m_adj->lblMSG->isVisible());
}

void TestDayInLife::firstDaySales()
{
    startRun(QDate(2024, 4, 15)); // a Monday and the demo's closing day of the 15th
    QCOMPARE(m_reg->lblDATE->text(), QStringLiteral("4/15"));

    // Sale 1: two articles and two tomatoes; the broccoli is taken off again, the cucumber sold for 110 yen.
    scan(kCucumber);
    scan(kBroccoli);
    type(QStringLiteral("+"));
    scan(kTomato);
    clickLine(1);
    key(Qt::Key_F3);
    clickLine(0);
    const auto price = ModalWatch::on<fdlEditPrc>([](fdlEditPrc *d) {
        QTRY_COMPARE(d->txtPRC->selectedText(), d->txtPRC->text());
        QTest::keyClicks(d->txtPRC, QStringLiteral("110"));
        QTest::keyClick(d->txtPRC, Qt::Key_Return);
        QTest::keyClick(d->focusWidget(), Qt::Key_Return); // on 設定
    });
    key(Qt::Key_F1);
    QVERIFY(price.seen());
    pay("10000", "9,390");

    // Sale 2: three pears and a peach.
    type(QStringLiteral("++"));
    scan(kPear);
    scan(kPeach);
    pay("3000", "750");

    // Sale 3: a customer brings the broccoli back and gets its price out of the drawer.
    type(QStringLiteral("-"));
    scan(kBroccoli);
    pay("0", "140");

    QVERIFY(m_program->messages().shown().isEmpty());
    QCOMPARE(rowCounts(), QStringLiteral("3 5 0 0 0 0 0 0"));
    QCOMPARE(Rows::row(QStringLiteral("SELECT Sum(AMT_SUM) FROM D_REG")), QStringLiteral("2720"));
    // A receipt per sale: a picture of the slip and the printer's bytes.
    QCOMPARE(printed(QStringLiteral("レシート_*.png")), 3);
    for (const QString &bytes : QDir(m_printDir).entryList({QStringLiteral("レシート_*.escpos")}, QDir::Files))
        QVERIFY(QFileInfo(QDir(m_printDir).filePath(bytes)).size() > 0);
}

void TestDayInLife::firstDayClosePaysTheProducers()
{
    openSettlement("41,650");
    // The change fund plus 2,720 yen: 2 × 1,000, 1 × 500, 2 × 100, 2 × 10. Of the 1,000-yen notes 18 stay.
    count({"0", "2", "0", "22", "11", "52", "20", "52", "20", "50"}, {"", "", "", "18", "", "", "", "", "", ""});

    // The 15th is a closing day: the payment date, the 25th, is asked and confirmed.
    const auto payDate = ModalWatch::on<fdlSetPayDate>([](fdlSetPayDate *d) {
        QCOMPARE(d->date(), DateValue::fromParts(2024, 4, 25));
        QTest::keyClick(d, Qt::Key_Enter, Qt::KeypadModifier);
    });
    QTest::keyClick(m_adj, Qt::Key_Return);
    QVERIFY(payDate.seen());
    QCOMPARE(m_program->messages().prompts(), QStringList{QStringLiteral("締処理を終了しました。")});
    // The run is over: the database is let go (and, on file, copied into the backup folder).
    QVERIFY(!gDb);
    QVERIFY(m_onServer || QFileInfo(m_program->path(QStringLiteral("backup/20240415.mdb"))).isFile());
    QCOMPARE(printed(QStringLiteral("日報_*.pdf")), 1);
    QCOMPARE(printed(QStringLiteral("振込依頼書*.pdf")), 1);

    InitObj();
    QCOMPARE(rowCounts(), QStringLiteral("0 0 3 5 1 5 1 5"));
    QCOMPARE(Rows::row(QStringLiteral("SELECT AMT_SUM, PREV_SUM, CASH_SUM, CHG_SUM, POST_SUM FROM D_ADJ")),
             QStringLiteral("2720|41650|44370|39650|4720"));
    // Per producer: 500, 110, 1,200, -140 and 1,050 yen; the commission of 15 % truncated per producer
    // (75 + 16 + 180 - 21 + 157), the transfer fees 220 + 330 + 220 + 220 + 330.
    QCOMPARE(Rows::row(QStringLiteral("SELECT SALES_QTY_SUM, SALES_AMT_SUM, FEE_AMT_SUM, PAY_AMT_SUM, BANK_FEE_SUM, "
                                      "REAL_AMT_SUM FROM D_PAY")),
             QStringLiteral("6|2720|407|2313|1320|993"));
    ReleaseObj();
    m_program->messages().clear();
}

void TestDayInLife::secondDayStartsWithTheChangeKept()
{
    m_program->clock().set(QDateTime(QDate(2024, 4, 16), QTime(8, 50)));
    startRun(QDate(2024, 4, 16));
    scan(kTomato);
    scan(kCucumber);
    pay("2000", "1,610");

    // Yesterday's change kept is today's float, the 1,000-yen row included.
    openSettlement("39,650");
    QCOMPARE(m_adj->lblPREV[3]->text(), QStringLiteral("18"));
    count({"0", "2", "0", "18", "10", "53", "21", "54", "20", "50"}, {});
    // No closing date: no payment date, no payment closing.
    const auto payDate = ModalWatch::on<fdlSetPayDate>([](fdlSetPayDate *) {});
    QTest::keyClick(m_adj, Qt::Key_Return);
    QVERIFY(!payDate.seen());
    QVERIFY(!gDb);
    QCOMPARE(printed(QStringLiteral("日報_*.pdf")), 2);

    InitObj();
    QCOMPARE(rowCounts(), QStringLiteral("0 0 4 7 2 7 1 5"));
    QCOMPARE(Rows::row(QStringLiteral("SELECT AMT_SUM, PREV_SUM, CASH_SUM, CHG_SUM, POST_SUM FROM D_ADJ WHERE AMT_SUM=390")),
             QStringLiteral("390|39650|40040|39650|390"));
    ReleaseObj();
    m_program->messages().clear();
}

void TestDayInLife::reopeningTheClosedDay()
{
    // The 15th is paid out and refused; the 16th, the last closed day, is opened again.
    m_program->clock().set(QDateTime(QDate(2024, 4, 17), QTime(8, 45)));
    m_program->messages().queueAnswer(Msg::OK);
    m_program->messages().queueAnswer(Msg::Yes);
    startRun(QDate(2024, 4, 17), {2, 1});
    QCOMPARE(m_program->messages().prompts(), (QStringList{QStringLiteral("精算済の日付です。設定できません。"),
                                                           QStringLiteral("指定日は締済です。集計処理を取り消しますか？")}));
    QCOMPARE(m_reg->lblDATE->text(), QStringLiteral("4/16"));
    // Its sale is back, its settlement gone; the backup and the paid day stay.
    QCOMPARE(rowCounts(), QStringLiteral("1 2 4 7 1 5 1 5"));
    QCOMPARE(Rows::row(QStringLiteral("SELECT Sum(AMT_SUM) FROM D_REG")), QStringLiteral("390"));
    QCOMPARE(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).toString(), QStringLiteral("4"));

    // It waits for its close again: the settlement with the same float, and Esc ends the run.
    openSettlement("39,650");
    QTest::keyClick(m_adj, Qt::Key_Escape);
    QVERIFY(!gDb);
}

VANTLE_TEST_BOTH_ENGINES(TestDayInLife)

#include "test_day_in_life.moc"
