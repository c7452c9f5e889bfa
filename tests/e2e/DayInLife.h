#pragma once

// What the day through the real screens (test_day_in_life) works with: the shop's figures, the articles and
// sales as they must be stored, the rows of a table as text, and the test's steps on the screens.
#include "app/InitObj.h"
#include "app/Screens.h"
#include "app/StartUp.h"
#include "base/Clock.h"
#include "base/DateValue.h"
#include "base/Format.h"
#include "base/MessagePresenter.h"
#include "calendar/frmSetCal.h"
#include "checkout/fdlEditPrc.h"
#include "checkout/fdlEditQty.h"
#include "checkout/frmReg.h"
#include "data/DemoMasters.h"
#include "data/Globals.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "printing/Printers.h"
#include "settlement/DailyClose.h"
#include "settlement/SetCls.h"
#include "settlement/fdlSetPayDate.h"
#include "settlement/frmAdj.h"
#include "support/ShownWindow.h"
#include "support/ModalWatch.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <array>
#include <functional>
#include <map>

using Counts = std::array<int, 10>;

inline const int kDenominations[10] = {10000, 5000, 2000, 1000, 500, 100, 50, 10, 5, 1};
// The demo shop's change fund (DEF_01..DEF_10).
inline const Counts kChangeFund = {0, 2, 0, 20, 10, 50, 20, 50, 20, 50};
// What the operator keeps of the 1,000-yen notes on the first evening (the fund says 20).
inline constexpr int kThousandsKept = 18;
inline constexpr int kFeePercent = 15; // FEE_RT of the demo shop

inline const double kDay1 = DateValue::fromParts(2024, 4, 15); // a Monday and the demo's closing day of the 15th
inline const double kDay2 = DateValue::fromParts(2024, 4, 16);
inline const double kDay3 = DateValue::fromParts(2024, 4, 17);
inline const double kPayDate = DateValue::fromParts(2024, 4, 25); // the 15th is paid on the 25th

QString dateText(double d);
QString grouped(qint64 yen);
qint64 sumOf(const Counts &counts);

// The float plus the day's takings, paid in as few pieces as possible.
Counts drawer(const Counts &opening, qint64 takings);
QString text(const Variant &v);
qint64 yen(const Variant &v);

// The rows of a query on gDb, each as its values joined with "|". kinds has one letter per column: d a date,
// t a date and time, n a number, s a text (Null and empty both ""), and every Null shows as "-" except in texts.
QStringList rows(const QString &sql, const QString &kinds);
QString row(std::initializer_list<QString> values);
QString n(qint64 v);

// An article as the master describes it.
struct Article
{
    QString bcd;
    qint32 prd = 0;
    qint32 fmr = 0;
    QString name;
    qint64 price = 0;
    qint32 unit = 0;
};

struct Producer
{
    QString name, bank, branch, kind, account, holder;
    qint64 fee1 = 0, fee2 = 0;
};

// A line of a sale as it must be stored.
struct Line
{
    Article article;
    qint64 price = 0;
    qint64 qty = 1;
    qint64 amount() const { return price * qty; }
};

struct Sale
{
    qint32 regId = 0;
    qint32 regNo = 0;
    double day = 0;
    QDateTime at;
    qint32 scanned = 0; // DTL_CNT: the number given to the last line added; deleting a line does not lower it
    QList<Line> lines;
    qint64 tendered = 0;
    qint64 total() const
    {
        qint64 sum = 0;
        for (const Line &l : lines)
            sum += l.amount();
        return sum;
    }
};

struct ProducerDay
{
    qint64 qty = 0;
    qint64 amount = 0;
};

std::map<qint32, ProducerDay> byProducer(const QList<Sale> &sales, double day);

// A failure of the database or the files ends the check it happens in; QTest would end the whole program.
template <typename Work> void failOnException(Work &&work)
{
    try {
        work();
    } catch (const std::exception &e) {
        QFAIL(e.what());
    }
}

class TestDayInLife : public QObject
{
    Q_OBJECT

public:
    explicit TestDayInLife(bool onServer) : m_onServer(onServer) {}

private slots:
    void initTestCase();
    void cleanupTestCase();

    void firstStartProposesToday();
    void ringingUpTheSales();
    void closingTheRegisterOpensTheSettlement();
    void countingClosesTheDayAndPaysTheProducers();
    void nextDayStartsWithYesterdaysChange();
    void reopeningTheClosedDayBringsItsSalesBack();
    void everyTableHoldsTheDays();
    void endingTheRunClosesTheDatabase();

private:
    // One showing of the start's calendar: checks and keys on the open calendar.
    using CalendarStep = std::function<void(frmSetCal *)>;
    // A start as the program makes it: the settlement services, the data objects, the date choice on the calendar
    // (one step per showing), then the register or the settlement screen.
    StartUp::Screen startRun(QList<CalendarStep> steps);
    void showRegister();

    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void type(const QString &keys);
    void scan(const QString &code);
    void clickLine(int row);
    // Enter on the empty barcode, the amount tendered, Enter, Enter: the sale is stored at the clock's time.
    void pay(Sale &sale, const QString &tendered);
    void countTheDrawer(frmAdj *screen, const Counts &cash, const std::map<int, int> &changeTyped);
    void checkOpeningFloat(frmAdj *screen, const Counts &prev);
    QStringList printed(const QString &pattern) const;
    // The print jobs of a sale's receipt: named by their title and the moment the sale was stored.
    static QString receiptName(const Sale &sale, const QString &extension);
    QString adjRow(double day, const QDateTime &at, qint64 takings, const Counts &prev, const Counts &cash,
                   const Counts &change) const;
    Article inStore(const QString &code, qint32 prd, qint32 fmr, qint64 price);
    void loadArticles();

    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
    QByteArray m_previousPrintDir;
    QString m_printDir;
    QPointer<frmReg> m_reg;
    QPointer<frmAdj> m_adj;
    QList<double> m_proposed;

    // What the master holds for the articles rung up.
    Article m_m1, m_m2, m_m3, m_s1, m_s2;
    std::map<qint32, Producer> m_producers;
    QList<Sale> m_sales;
    qint32 m_nextRegId = 1;
    Counts m_cash1 {}, m_change1 {}, m_cash2 {}, m_change2 {};
    QDateTime m_closed1, m_closed2;
};
