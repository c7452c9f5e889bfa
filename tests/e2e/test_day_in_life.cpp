// A shop's business day through the real screens, as the program wires them at start: the calendar proposes the
// day, the register rings up sales (master and in-store codes, a return, a price and a quantity change, a deleted
// line) and prints receipts, closing the register hands over to the settlement, the counted cash closes the day,
// the monthly closing date brings the payment closing with its transfer request, the next day starts with the
// change kept, and the closed day is opened again. Every table is then compared with figures worked out here from
// the prices rung up. Runs on the SQLite files and again on the MariaDB test server when it is configured.
#include "app/Clock.h"
#include "app/Globals.h"
#include "app/MessagePresenter.h"
#include "app/SettlementHooks.h"
#include "app/StartUp.h"
#include "base/Progress.h"
#include "calendar/frmSetCal.h"
#include "checkout/fdlEditPrc.h"
#include "checkout/fdlEditQty.h"
#include "checkout/frmReg.h"
#include "data/DateValue.h"
#include "data/DemoMasters.h"
#include "data/Format.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "printing/Printers.h"
#include "settings/fdlSetPayDate.h"
#include "settlement/DailyClose.h"
#include "settlement/SetCls.h"
#include "settlement/frmAdj.h"
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

namespace {

using Counts = std::array<int, 10>;

const int kDenominations[10] = {10000, 5000, 2000, 1000, 500, 100, 50, 10, 5, 1};
// The demo shop's change fund (DEF_01..DEF_10).
const Counts kChangeFund = {0, 2, 0, 20, 10, 50, 20, 50, 20, 50};
// What the operator keeps of the 1,000-yen notes on the first evening (the fund says 20).
constexpr int kThousandsKept = 18;
constexpr int kFeePercent = 15; // FEE_RT of the demo shop

const double kDay1 = DateValue::fromParts(2024, 4, 15); // a Monday and the demo's closing day of the 15th
const double kDay2 = DateValue::fromParts(2024, 4, 16);
const double kDay3 = DateValue::fromParts(2024, 4, 17);
const double kPayDate = DateValue::fromParts(2024, 4, 25); // the 15th is paid on the 25th

QString dateText(double d)
{
    return Format::date(d, QStringLiteral("yyyy-mm-dd"));
}

QString grouped(qint64 yen)
{
    return QLocale(QLocale::English).toString(yen);
}

qint64 sumOf(const Counts &counts)
{
    qint64 sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += qint64(counts[i]) * kDenominations[i];
    return sum;
}

// The float plus the day's takings, paid in as few pieces as possible.
Counts drawer(const Counts &opening, qint64 takings)
{
    Counts c = opening;
    for (int i = 0; i < 10; ++i) {
        c[i] += int(takings / kDenominations[i]);
        takings %= kDenominations[i];
    }
    return c;
}

QString text(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

qint64 yen(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? 0 : v.toCurrency().wholePart();
}

// The rows of a query on gDb, each as its values joined with "|". kinds has one letter per column: d a date,
// t a date and time, n a number, s a text (Null and empty both ""), and every Null shows as "-" except in texts.
QStringList rows(const QString &sql, const QString &kinds)
{
    QStringList out;
    Recordset rs = gDb->GetFwdOnlyRst(sql);
    for (; !rs.EOF_(); rs.MoveNext()) {
        QStringList values;
        for (int i = 0; i < kinds.size(); ++i) {
            const Variant v = rs.Fields(i);
            const QChar kind = kinds.at(i);
            if (kind == u's')
                values << text(v);
            else if (v.isNull())
                values << QStringLiteral("-");
            else if (kind == u'd')
                values << dateText(v.toDate());
            else if (kind == u't')
                values << Format::date(v.toDate(), QStringLiteral("yyyy-mm-dd hh:nn:ss"));
            else
                values << v.toCurrency().toPlainText();
        }
        out << values.join(u'|');
    }
    return out;
}

QString row(std::initializer_list<QString> values)
{
    return QStringList(values).join(u'|');
}

QString n(qint64 v)
{
    return QString::number(v);
}

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

std::map<qint32, ProducerDay> byProducer(const QList<Sale> &sales, double day)
{
    std::map<qint32, ProducerDay> out;
    for (const Sale &s : sales) {
        if (s.day != day)
            continue;
        for (const Line &l : s.lines) {
            out[l.article.fmr].qty += l.qty;
            out[l.article.fmr].amount += l.amount();
        }
    }
    return out;
}

// Watches for the next modal dialog of class T and runs `act` on it as soon as it is up; a dialog still open
// afterwards is rejected so that a failing check never leaves the test waiting. The watch ends with its guard.
class ModalWatch
{
public:
    template <typename T> static ModalWatch on(std::function<void(T *)> act)
    {
        ModalWatch watch;
        auto seen = watch.m_seen;
        auto *timer = new QTimer(qApp);
        watch.m_timer = timer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, qApp, [timer, seen, act] {
            auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer->stop();
            *seen = true;
            dialog->activateWindow();
            if (!QTest::qWaitForWindowActive(dialog))
                qWarning("dialog %s did not become active", T::staticMetaObject.className());
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        timer->start();
        return watch;
    }
    ModalWatch(ModalWatch &&other) noexcept : m_seen(other.m_seen), m_timer(other.m_timer) { other.m_timer = nullptr; }
    ~ModalWatch()
    {
        if (m_timer)
            m_timer->deleteLater();
    }
    bool seen() const { return *m_seen; }

private:
    ModalWatch() = default;
    std::shared_ptr<bool> m_seen = std::make_shared<bool>(false);
    QPointer<QTimer> m_timer;
};

// A failure of the database or the files ends the check it happens in; QTest would end the whole program.
template <typename Work> void failOnException(Work &&work)
{
    try {
        work();
    } catch (const std::exception &e) {
        QFAIL(e.what());
    }
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

void TestDayInLife::initTestCase()
{
    failOnException([&] {
        m_program = std::make_unique<TestProgram>(QDateTime(QDate(2024, 4, 15), QTime(8, 55)));
        m_program->createDatabases(true, m_onServer);
        m_printDir = m_program->path(QStringLiteral("print"));
        m_previousPrintDir = qgetenv("VANTLE_PRINT_DIR");
        qputenv("VANTLE_PRINT_DIR", m_printDir.toUtf8());
        qunsetenv("VANTLE_RECEIPT_DEVICES");
        Printers::setSystemSource({});
        Printers::clearAdded();
        Printers::reload();
        QVERIFY(Printers::names().contains(Printers::VirtualPageName));
        QVERIFY(Printers::names().contains(Printers::VirtualReceiptName));
        m_program->openAll();
        loadArticles();
        ReleaseObj();
        m_sales.clear();
        m_nextRegId = 1;
    });
}

void TestDayInLife::cleanupTestCase()
{
    for (QWidget *w : {static_cast<QWidget *>(m_reg.data()), static_cast<QWidget *>(m_adj.data())}) {
        if (w) {
            w->setAttribute(Qt::WA_DeleteOnClose, false);
            delete w;
        }
    }
    SettlementHooks::cancelDailyAdj = nullptr;
    SettlementHooks::showSettlement = nullptr;
    frmAdj::setRunEnd({});
    Printers::setSystemSource({});
    m_program.reset();
    if (m_previousPrintDir.isEmpty())
        qunsetenv("VANTLE_PRINT_DIR");
    else
        qputenv("VANTLE_PRINT_DIR", m_previousPrintDir);
    Printers::reload();
}

void TestDayInLife::loadArticles()
{
    // Three registered barcodes of three producers with bank data, and two in-store labels.
    QList<Article> found;
    Recordset rs = gMst->GetFwdOnlyRst(QStringLiteral("SELECT M_PRD_BCD.BCD, M_PRD_BCD.PRD_ID, M_PRD_BCD.FMR_ID, "
                                                      "M_PRD_BCD.BCD_NM, M_PRD_BCD.PRC, M_PRD_BCD.UNIT_ID FROM M_PRD_BCD "
                                                      "INNER JOIN M_FMR ON M_FMR.FMR_ID=M_PRD_BCD.FMR_ID "
                                                      "WHERE M_PRD_BCD.PRC>=100 AND M_PRD_BCD.PRC<=800 "
                                                      "AND M_FMR.FEE_1 IS NOT NULL ORDER BY M_PRD_BCD.BCD"));
    for (; !rs.EOF_() && found.size() < 3; rs.MoveNext()) {
        Article a{text(rs.Fields(0)), qint32(yen(rs.Fields(1))), qint32(yen(rs.Fields(2))), text(rs.Fields(3)),
                  yen(rs.Fields(4)), qint32(yen(rs.Fields(5)))};
        bool sameProducer = false;
        for (const Article &f : found)
            sameProducer = sameProducer || f.fmr == a.fmr;
        if (!sameProducer && a.fmr != 1 && a.fmr != 5)
            found << a;
    }
    rs.Close();
    QCOMPARE(found.size(), 3);
    m_m1 = found[0];
    m_m2 = found[1];
    m_m3 = found[2];
    const QStringList labels = DemoMasters::inStoreSampleCodes();
    m_s1 = inStore(labels.value(0), 1, 1, 250);
    m_s2 = inStore(labels.value(13), 58, 5, 1200);

    for (qint32 fmr : {m_m1.fmr, m_m2.fmr, m_m3.fmr, m_s1.fmr, m_s2.fmr}) {
        Recordset p = gMst->GetFwdOnlyRst(QStringLiteral("SELECT FMR_NM, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, "
                                                         "FEE_1, FEE_2 FROM M_FMR WHERE FMR_ID=%1").arg(fmr));
        QVERIFY(!p.EOF_());
        m_producers[fmr] = {text(p.Fields(0)), text(p.Fields(1)), text(p.Fields(2)), text(p.Fields(3)),
                            text(p.Fields(4)), text(p.Fields(5)), yen(p.Fields(6)), yen(p.Fields(7))};
    }
}

Article TestDayInLife::inStore(const QString &code, qint32 prd, qint32 fmr, qint64 price)
{
    // The label: product, producer and price in tens of yen.
    const QString digits = QStringLiteral("%1%2%3").arg(prd, 3, 10, QLatin1Char('0')).arg(fmr, 4, 10, QLatin1Char('0'))
                               .arg(price / 10, 4, 10, QLatin1Char('0'));
    if (!code.startsWith(digits))
        qWarning("unexpected in-store label %s", qPrintable(code));
    return {code, prd, fmr, text(gMst->DLookup(QStringLiteral("PRD_NM"), QStringLiteral("M_PRD"),
                                               QStringLiteral("PRD_ID=%1").arg(prd))),
            price, 1};
}

StartUp::Screen TestDayInLife::startRun(QList<CalendarStep> steps)
{
    SettlementHooks::cancelDailyAdj = [] { return CancelDailyAdj(); };
    SettlementHooks::showSettlement = [this] { m_adj = ShowSettlement(); };
    frmAdj::setRunEnd([] { StartUp::EndRun(Progress::none()); });
    frmAdj::setPayDateQuestion({});
    m_proposed.clear();
    InitObj();
    const StartUp::Screen screen = StartUp::ChooseSalesDate([this, &steps] {
        frmSetCal calendar;
        m_proposed << calendar.SysDate();
        if (steps.isEmpty())
            return StartUp::CalendarExit::EndProgram;
        const auto step = ModalWatch::on<frmSetCal>(steps.takeFirst());
        switch (calendar.exec()) {
        case QDialog::Accepted:
            return StartUp::CalendarExit::Confirmed;
        case frmSetCal::EndProgram:
            return StartUp::CalendarExit::EndProgram;
        default:
            return StartUp::CalendarExit::Closed;
        }
    });
    if (screen == StartUp::Screen::Register)
        showRegister();
    else if (screen == StartUp::Screen::Settlement)
        SettlementHooks::showSettlement();
    return screen;
}

void TestDayInLife::showRegister()
{
    m_reg = new frmReg;
    m_reg->setAttribute(Qt::WA_DeleteOnClose);
    m_reg->resize(1020, 752);
    m_reg->show();
    m_reg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_reg));
}

void TestDayInLife::key(Qt::Key k, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : static_cast<QWidget *>(m_reg);
    QTest::keyClick(target, k, modifiers);
}

void TestDayInLife::type(const QString &keys)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : static_cast<QWidget *>(m_reg);
    QTest::keyClicks(target, keys);
}

void TestDayInLife::scan(const QString &code)
{
    type(code);
    key(Qt::Key_Return);
}

void TestDayInLife::clickLine(int row)
{
    QTableWidget *grid = m_reg->fgrdHIST;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 1)).center());
    QCOMPARE(grid->currentRow(), row);
}

void TestDayInLife::pay(Sale &sale, const QString &tendered)
{
    key(Qt::Key_Return);
    QCOMPARE(m_reg->RegMode(), int(frmReg::TenderMode));
    type(tendered);
    key(Qt::Key_Return);
    QCOMPARE(m_reg->RegMode(), int(frmReg::ChangeMode));
    sale.tendered = tendered.toLongLong();
    QCOMPARE(m_reg->lblCHG->text(), grouped(sale.tendered - sale.total()));
    m_program->clock().advanceMSecs(7 * 60 * 1000);
    sale.at = m_program->clock().currentDateTime();
    sale.regId = m_nextRegId++;
    key(Qt::Key_Return);
    QCOMPARE(m_reg->RegMode(), int(frmReg::ScanMode));
    QCOMPARE(m_reg->mLastRegId(), sale.regId);
    QCOMPARE(m_reg->fgrdHIST->rowCount(), 0);
    // The change stays on the screen for the customer.
    QCOMPARE(m_reg->lblCHG->text(), grouped(sale.tendered - sale.total()));
    m_sales << sale;
}

void TestDayInLife::countTheDrawer(frmAdj *screen, const Counts &cash, const std::map<int, int> &changeTyped)
{
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(screen->RowIdx(), qint16(i));
        if (cash[i] != 0)
            QTest::keyClicks(screen, QString::number(cash[i]));
        QTest::keyClick(screen, Qt::Key_Return);
    }
    QCOMPARE(screen->ColIdx(), qint16(1));
    // The last count's change follows it like every other row's.
    QCOMPARE(screen->lblCHG[9]->text(), QString::number(std::min(cash[9], kChangeFund[9])));
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(screen->RowIdx(), qint16(i));
        const auto typed = changeTyped.find(i);
        if (typed != changeTyped.end())
            QTest::keyClicks(screen, QString::number(typed->second));
        QTest::keyClick(screen, Qt::Key_Return);
    }
    QCOMPARE(screen->RowIdx(), AdjGrid::ConfirmRow);
    QVERIFY(screen->lblMSG->isVisible());
}

void TestDayInLife::checkOpeningFloat(frmAdj *screen, const Counts &prev)
{
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(screen->lblPREV[i]->text(), QString::number(prev[i]));
        QCOMPARE(screen->lblDEF[i]->text(), QString::number(kChangeFund[i]));
        QCOMPARE(screen->lblCASH[i]->text(), QStringLiteral("0"));
    }
    QCOMPARE(screen->lblPREV_SUM->text(), grouped(sumOf(prev)));
    QCOMPARE(screen->lblDEF_SUM->text(), grouped(sumOf(kChangeFund)));
}

QStringList TestDayInLife::printed(const QString &pattern) const
{
    return QDir(m_printDir).entryList({pattern}, QDir::Files, QDir::Name);
}

QString TestDayInLife::receiptName(const Sale &sale, const QString &extension)
{
    return QStringLiteral("レシート_") + sale.at.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral("*.")
        + extension;
}

QString TestDayInLife::adjRow(double day, const QDateTime &at, qint64 takings, const Counts &prev, const Counts &cash,
                              const Counts &change) const
{
    Counts post {};
    for (int i = 0; i < 10; ++i)
        post[i] = cash[i] - change[i];
    QStringList v{dateText(day), at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), n(takings)};
    for (const Counts *column : std::initializer_list<const Counts *>{&prev, &cash, &change, &post})
        v << n(sumOf(*column));
    for (int i = 0; i < 10; ++i)
        v << n(kDenominations[i]) << n(prev[i]) << n(cash[i]) << n(change[i]) << n(post[i]);
    return v.join(u'|');
}

// The columns of D_ADJ in the order adjRow gives them.
static QString adjColumns()
{
    QString columns = QStringLiteral("SALES_DATE, ADJ_DTM, AMT_SUM, PREV_SUM, CASH_SUM, CHG_SUM, POST_SUM");
    for (int i = 1; i <= 10; ++i)
        columns += QStringLiteral(", AMT_%1, PREV_%1, CASH_%1, CHG_%1, POST_%1").arg(i, 2, 10, QLatin1Char('0'));
    return columns;
}

static QString adjKinds()
{
    return QStringLiteral("dtnnnnn") + QString(50, u'n');
}

void TestDayInLife::firstStartProposesToday()
{
    failOnException([&] {
        const auto screen = startRun({[this](frmSetCal *calendar) {
            QCOMPARE(calendar->SysDate(), kDay1);
            QTest::keyClick(calendar, Qt::Key_Return);
        }});
        QCOMPARE(screen, StartUp::Screen::Register);
        QCOMPARE(m_proposed, QList<double>{kDay1});
        QCOMPARE(gSalesDate, kDay1);
        QVERIFY(m_program->messages().shown().isEmpty());
        QVERIFY(m_reg);
        QCOMPARE(m_reg->lblDATE->text(), QStringLiteral("4/15"));
    });
}

void TestDayInLife::ringingUpTheSales()
{
    failOnException([&] {
        QVERIFY(m_reg);
        frmReg &f = *m_reg;

        // Sale 1: two master articles and two of an in-store label; the second article is taken off again and the
        // first one sold for 30 yen less.
        Sale s1;
        s1.day = kDay1;
        s1.regNo = 1;
        scan(m_m1.bcd);
        scan(m_m2.bcd);
        type(QStringLiteral("+"));
        QCOMPARE(f.lblQTY->text(), QStringLiteral("2"));
        scan(m_s1.bcd);
        s1.scanned = 3;
        QCOMPARE(f.fgrdHIST->rowCount(), 3);
        QCOMPARE(f.fgrdHIST->item(2, 1)->text(), m_s1.name);
        QCOMPARE(f.fgrdHIST->item(2, 2)->text(), m_producers[m_s1.fmr].name);
        QCOMPARE(f.lblSUM->text(), grouped(m_m1.price + m_m2.price + 2 * m_s1.price));
        clickLine(1);
        key(Qt::Key_F3);
        QCOMPARE(f.fgrdHIST->rowCount(), 2);
        QCOMPARE(f.fgrdHIST->item(1, 0)->text(), QStringLiteral("2"));
        QCOMPARE(f.fgrdHIST->item(1, 1)->text(), m_s1.name);
        const qint64 newPrice = m_m1.price - 30;
        clickLine(0);
        const auto price = ModalWatch::on<fdlEditPrc>([newPrice, this](fdlEditPrc *d) {
            QCOMPARE(d->lblO_PRC->text(), n(m_m1.price));
            QTRY_COMPARE(d->txtPRC->selectedText(), d->txtPRC->text());
            QTest::keyClicks(d->txtPRC, n(newPrice));
            QTest::keyClick(d->txtPRC, Qt::Key_Return);
            QTest::keyClick(d->focusWidget(), Qt::Key_Return); // on 設定
        });
        key(Qt::Key_F1);
        QVERIFY(price.seen());
        s1.lines = {{m_m1, newPrice, 1}, {m_s1, m_s1.price, 2}};
        QCOMPARE(f.fgrdHIST->item(0, 4)->text(), n(newPrice));
        QCOMPARE(f.lblSUM->text(), grouped(s1.total()));
        pay(s1, QStringLiteral("10000"));
        QVERIFY(m_program->messages().shown().isEmpty());

        // Sale 2: a master article of which three are sold (the quantity changed afterwards) and a dear in-store label.
        Sale s2;
        s2.day = kDay1;
        s2.regNo = 2;
        scan(m_m3.bcd);
        scan(m_s2.bcd);
        s2.scanned = 2;
        clickLine(0);
        const auto quantity = ModalWatch::on<fdlEditQty>([](fdlEditQty *d) {
            QTRY_COMPARE(d->txtQTY->selectedText(), d->txtQTY->text());
            QTest::keyClicks(d->txtQTY, QStringLiteral("3"));
            QTest::keyClick(d->txtQTY, Qt::Key_Return);
            QTest::keyClick(d->focusWidget(), Qt::Key_Return);
        });
        key(Qt::Key_F2);
        QVERIFY(quantity.seen());
        s2.lines = {{m_m3, m_m3.price, 3}, {m_s2, m_s2.price, 1}};
        QCOMPARE(f.fgrdHIST->item(0, 3)->text(), QStringLiteral("3"));
        QCOMPARE(f.lblSUM->text(), grouped(s2.total()));
        pay(s2, n((s2.total() / 1000 + 1) * 1000));

        // Sale 3: a customer brings one article back and gets its price out of the drawer.
        Sale s3;
        s3.day = kDay1;
        s3.regNo = 3;
        type(QStringLiteral("-"));
        scan(m_m2.bcd);
        s3.scanned = 1;
        s3.lines = {{m_m2, m_m2.price, -1}};
        QCOMPARE(f.lblSUM->text(), grouped(-m_m2.price));
        QCOMPARE(f.fgrdHIST->item(0, 4)->background().color(), frmReg::FailedColor);
        pay(s3, QStringLiteral("0"));

        QVERIFY(m_program->messages().shown().isEmpty());
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 3);
        // A receipt per sale, printed as the sale was stored: a picture of the slip and the printer's bytes (the
        // drawer and the cutter are jobs of their own).
        const QStringList slips = printed(QStringLiteral("*.png"));
        QCOMPARE(slips.size(), 3);
        for (const Sale &s : m_sales)
            QCOMPARE(printed(receiptName(s, QStringLiteral("png"))).size(), 1);
        for (const QString &name : slips) {
            const QImage slip(QDir(m_printDir).filePath(name));
            QVERIFY(!slip.isNull());
            QVERIFY(slip.height() > slip.width() / 4);
            QVERIFY(QFileInfo(QDir(m_printDir).filePath(name.left(name.size() - 3) + QStringLiteral("escpos"))).size() > 0);
        }
    });
}

void TestDayInLife::closingTheRegisterOpensTheSettlement()
{
    failOnException([&] {
        QVERIFY(m_reg);
        key(Qt::Key_Escape);
        QVERIFY(m_adj);
        QVERIFY(m_adj->isVisible());
        QVERIFY(gDb);
        QCOMPARE(m_adj->windowTitle(), QStringLiteral("日次集計"));
        // The first day of the shop starts from the change fund.
        checkOpeningFloat(m_adj, kChangeFund);
        QTRY_VERIFY(!m_reg);
    });
}

void TestDayInLife::countingClosesTheDayAndPaysTheProducers()
{
    failOnException([&] {
        QVERIFY(m_adj);
        frmAdj *screen = m_adj;
        screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        const qint64 takings = m_sales[0].total() + m_sales[1].total() + m_sales[2].total();
        m_cash1 = drawer(kChangeFund, takings);
        // Of the 1,000-yen notes fewer are kept than the fund says.
        countTheDrawer(screen, m_cash1, {{3, kThousandsKept}});
        for (int i = 0; i < 10; ++i)
            m_change1[i] = i == 3 ? kThousandsKept : std::min(m_cash1[i], kChangeFund[i]);
        QCOMPARE(screen->lblCASH_SUM->text(), grouped(sumOf(kChangeFund) + takings));
        QCOMPARE(screen->lblCHG_SUM->text(), grouped(sumOf(m_change1)));
        QCOMPARE(screen->lblPOST_SUM->text(), grouped(sumOf(m_cash1) - sumOf(m_change1)));

        // The 15th is a closing day: the payment date is asked (the 25th) and confirmed, and the payment closing runs.
        m_program->clock().set(QDateTime(QDate(2024, 4, 15), QTime(18, 5)));
        m_closed1 = m_program->clock().currentDateTime();
        const auto payDate = ModalWatch::on<fdlSetPayDate>([](fdlSetPayDate *d) {
            QCOMPARE(d->date(), kPayDate);
            QCOMPARE(d->lblYM->text(), QStringLiteral("2024年4月"));
            QTest::keyClick(d, Qt::Key_Enter, Qt::KeypadModifier);
        });
        QTest::keyClick(screen, Qt::Key_Return);
        QVERIFY(payDate.seen());
        QCOMPARE(m_program->messages().prompts(), QStringList{QString::fromUtf8(DailyCloseText::Finished)});
        QVERIFY(!screen->isVisible());
        // The run is over: the database is let go (and, on file, copied into the backup folder).
        QVERIFY(!gDb);
        if (!m_onServer)
            QVERIFY(QFileInfo(m_program->path(QStringLiteral("backup/20240415.mdb"))).isFile());

        // The daily report and the transfer request are printed on the page printer.
        QCOMPARE(printed(QStringLiteral("日報_*.pdf")).size(), 1);
        const QStringList transfer = printed(QStringLiteral("振込依頼書*.pdf"));
        QCOMPARE(transfer.size(), 1);
        QFile pdf(QDir(m_printDir).filePath(transfer.first()));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");

        // What the close left behind, before anything else happens.
        InitObj();
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG")).toLong(), 0);
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_REG_DTL")).toLong(), 0);
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("B_REG")).toLong(), 3);
        QCOMPARE(gDb->DCount(QStringLiteral("*"), QStringLiteral("D_PAY")).toLong(), 1);
        ReleaseObj();
        m_program->messages().clear();
    });
}

void TestDayInLife::nextDayStartsWithYesterdaysChange()
{
    failOnException([&] {
        m_program->clock().set(QDateTime(QDate(2024, 4, 16), QTime(8, 50)));
        const auto screen = startRun({[](frmSetCal *calendar) {
            QCOMPARE(calendar->SysDate(), kDay2);
            QTest::keyClick(calendar, Qt::Key_Return);
        }});
        QCOMPARE(screen, StartUp::Screen::Register);
        QCOMPARE(gSalesDate, kDay2);
        QVERIFY(m_reg);
        QCOMPARE(m_reg->lblDATE->text(), QStringLiteral("4/16"));

        // One sale: a master article and an in-store label. The receipt numbers start again, the sale ids go on.
        Sale s4;
        s4.day = kDay2;
        s4.regNo = 1;
        scan(m_s1.bcd);
        scan(m_m1.bcd);
        s4.scanned = 2;
        s4.lines = {{m_s1, m_s1.price, 1}, {m_m1, m_m1.price, 1}};
        QCOMPARE(m_reg->lblSUM->text(), grouped(s4.total()));
        pay(s4, QStringLiteral("2000"));
        QCOMPARE(printed(QStringLiteral("*.png")).size(), 4);
        QCOMPARE(printed(receiptName(s4, QStringLiteral("png"))).size(), 1);

        key(Qt::Key_Escape);
        QVERIFY(m_adj);
        frmAdj *adj = m_adj;
        adj->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(adj));
        // Yesterday's change kept is today's opening float, the 1,000-yen row included.
        checkOpeningFloat(adj, m_change1);

        m_cash2 = drawer(m_change1, s4.total());
        countTheDrawer(adj, m_cash2, {});
        for (int i = 0; i < 10; ++i)
            m_change2[i] = std::min(m_cash2[i], kChangeFund[i]);
        m_program->clock().set(QDateTime(QDate(2024, 4, 16), QTime(18, 10)));
        m_closed2 = m_program->clock().currentDateTime();
        // No closing date: no payment date, no payment closing.
        const auto payDate = ModalWatch::on<fdlSetPayDate>([](fdlSetPayDate *) {});
        QTest::keyClick(adj, Qt::Key_Return);
        QVERIFY(!payDate.seen());
        QCOMPARE(m_program->messages().prompts(), QStringList{QString::fromUtf8(DailyCloseText::Finished)});
        QVERIFY(!gDb);
        QCOMPARE(printed(QStringLiteral("日報_*.pdf")).size(), 2);
        QCOMPARE(printed(QStringLiteral("振込依頼書*.pdf")).size(), 1);

        InitObj();
        QCOMPARE(rows(QStringLiteral("SELECT ") + adjColumns() + QStringLiteral(" FROM D_ADJ WHERE SALES_DATE=")
                          + SqlDialect::date(kDay2),
                      adjKinds()),
                 QStringList{adjRow(kDay2, m_closed2, s4.total(), m_change1, m_cash2, m_change2)});
        ReleaseObj();
        m_program->messages().clear();
    });
}

void TestDayInLife::reopeningTheClosedDayBringsItsSalesBack()
{
    failOnException([&] {
        m_program->clock().set(QDateTime(QDate(2024, 4, 17), QTime(8, 45)));
        // The 15th is paid out and refused; the 16th, the last closed day, is opened again.
        m_program->messages().queueAnswer(Msg::OK);
        m_program->messages().queueAnswer(Msg::Yes);
        const auto screen = startRun({
            [](frmSetCal *calendar) {
                QCOMPARE(calendar->SysDate(), kDay3);
                QTest::keyClick(calendar, Qt::Key_Minus, Qt::KeypadModifier);
                QTest::keyClick(calendar, Qt::Key_Minus, Qt::KeypadModifier);
                QTest::keyClick(calendar, Qt::Key_Return);
            },
            [](frmSetCal *calendar) {
                QCOMPARE(calendar->SysDate(), kDay3);
                QTest::keyClick(calendar, Qt::Key_Minus, Qt::KeypadModifier);
                QTest::keyClick(calendar, Qt::Key_Return);
            },
        });
        QCOMPARE(screen, StartUp::Screen::Register);
        QCOMPARE(m_proposed, (QList<double>{kDay3, kDay3}));
        QCOMPARE(m_program->messages().prompts(), (QStringList{StartUp::AlreadyPaid, StartUp::ReopenQuestion}));
        QCOMPARE(m_program->messages().shown().last().answer, int(Msg::Yes));
        QCOMPARE(gSalesDate, kDay2);
        QVERIFY(m_reg);
        QCOMPARE(m_reg->lblDATE->text(), QStringLiteral("4/16"));
        QCOMPARE(StartUp::CheckSalesDate(kDay2).state, StartUp::DayState::Open);
    });
}

void TestDayInLife::everyTableHoldsTheDays()
{
    failOnException([&] {
        QVERIFY(gDb);
        const QString user = QStringLiteral("レジ1");

        // Sales: the reopened day's sale is back in D_REG; the backup tables keep every closed day's sales.
        QStringList heads, lines;
        for (const Sale &s : m_sales) {
            heads << row({n(s.regId), n(s.regNo), s.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), dateText(s.day),
                          user, n(s.scanned), n(s.total()), n(s.tendered), n(s.tendered - s.total())});
            for (int i = 0; i < s.lines.size(); ++i) {
                const Line &l = s.lines[i];
                lines << row({n(s.regId), n(i + 1), l.article.bcd, n(l.article.prd), l.article.name, n(l.article.fmr),
                              m_producers[l.article.fmr].name, n(l.article.price), n(l.article.price - l.price), n(l.price),
                              n(l.qty), n(l.article.unit), n(l.amount())});
            }
        }
        const QString headColumns = QStringLiteral("REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG");
        const QString lineColumns = QStringLiteral("REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, "
                                                   "QTY, UNIT_ID, AMT");
        const QString headKinds = QStringLiteral("nntdsnnnn");
        const QString lineKinds = QStringLiteral("nnsnsnsnnnnnn");
        const qsizetype day2Lines = m_sales[3].lines.size();
        QCOMPARE(rows(QStringLiteral("SELECT ") + headColumns + QStringLiteral(" FROM B_REG ORDER BY REG_ID"), headKinds), heads);
        QCOMPARE(rows(QStringLiteral("SELECT ") + lineColumns + QStringLiteral(" FROM B_REG_DTL ORDER BY REG_ID, DTL_NO"),
                      lineKinds),
                 lines);
        QCOMPARE(rows(QStringLiteral("SELECT ") + headColumns + QStringLiteral(" FROM D_REG ORDER BY REG_ID"), headKinds),
                 heads.mid(3));
        QCOMPARE(rows(QStringLiteral("SELECT ") + lineColumns + QStringLiteral(" FROM D_REG_DTL ORDER BY REG_ID, DTL_NO"),
                      lineKinds),
                 lines.mid(lines.size() - day2Lines));
        QCOMPARE(text(gDb->GetCtrl(QStringLiteral("NEW_REG_ID"))), QStringLiteral("4"));

        // The settlement of the 15th; the 16th's went with the reopening.
        const qint64 takings1 = m_sales[0].total() + m_sales[1].total() + m_sales[2].total();
        QCOMPARE(rows(QStringLiteral("SELECT ") + adjColumns() + QStringLiteral(" FROM D_ADJ ORDER BY SALES_DATE"), adjKinds()),
                 QStringList{adjRow(kDay1, m_closed1, takings1, kChangeFund, m_cash1, m_change1)});

        // The 15th per producer, paid on the payment closing of the 15th.
        QStringList adjDtl, payDtl;
        qint64 qtySum = 0, salesSum = 0, feeSum = 0, paySum = 0, bankSum = 0, realSum = 0;
        for (const auto &[fmr, day] : byProducer(m_sales, kDay1)) {
            adjDtl << row({dateText(kDay1), n(fmr), n(day.qty), n(day.amount), dateText(kDay1)});
            const Producer &p = m_producers[fmr];
            const qint64 fee = day.amount * kFeePercent / 100; // the fraction of a yen stays with the producer
            const qint64 due = day.amount - fee;
            const qint64 bank = due < 30000 ? p.fee1 : p.fee2;
            payDtl << row({dateText(kDay1), dateText(kPayDate), n(fmr), n(day.qty), n(day.amount), n(fee), n(due), p.bank,
                           p.branch, p.kind, p.account, p.holder, n(bank), n(due - bank)});
            qtySum += day.qty;
            salesSum += day.amount;
            feeSum += fee;
            paySum += due;
            bankSum += bank;
            realSum += due - bank;
        }
        QCOMPARE(adjDtl.size(), 5);
        QCOMPARE(salesSum, takings1);
        QCOMPARE(rows(QStringLiteral("SELECT SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT, CLS_DATE FROM D_ADJ_DTL "
                                     "ORDER BY SALES_DATE, FMR_ID"),
                      QStringLiteral("dnnnd")),
                 adjDtl);
        QCOMPARE(rows(QStringLiteral("SELECT CLS_DATE, PAY_DATE, FMR_ID, SALES_QTY, SALES_AMT, FEE_AMT, PAY_AMT, BANK_NM, "
                                     "BR_NM, ACC_KBN, ACC_NO, ACC_NM, BANK_FEE, REAL_AMT FROM D_PAY_DTL ORDER BY FMR_ID"),
                      QStringLiteral("ddnnnnnsssssnn")),
                 payDtl);
        QCOMPARE(rows(QStringLiteral("SELECT CLS_DATE, PAY_DATE, SALES_QTY_SUM, SALES_AMT_SUM, FEE_AMT_SUM, PAY_AMT_SUM, "
                                     "BANK_FEE_SUM, REAL_AMT_SUM FROM D_PAY"),
                      QStringLiteral("ddnnnnnn")),
                 QStringList{row({dateText(kDay1), dateText(kPayDate), n(qtySum), n(salesSum), n(feeSum), n(paySum),
                                  n(bankSum), n(realSum)})});
    });
}

void TestDayInLife::endingTheRunClosesTheDatabase()
{
    failOnException([&] {
        QVERIFY(m_reg);
        // The reopened day waits for its close again: the settlement takes over, with the same opening float.
        key(Qt::Key_Escape);
        QVERIFY(m_adj);
        checkOpeningFloat(m_adj, m_change1);
        QTest::keyClick(m_adj, Qt::Key_Escape);
        QVERIFY(!gDb);
        QCOMPARE(m_program->messages().prompts().size(), 2); // nothing said since the start
        if (!m_onServer)
            QVERIFY(QFileInfo(m_program->path(QStringLiteral("backup/20240417.mdb"))).isFile());
    });
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setFont(QFont(QStringLiteral("IPAexGothic"), 11));
    TestDayInLife onFile(false);
    int failures = QTest::qExec(&onFile, argc, argv);
    if (TestProgram::serverAvailable()) {
        TestDayInLife onServer(true);
        failures += QTest::qExec(&onServer, argc, argv);
    } else {
        qInfo("MariaDB test server not configured (VANTLE_TEST_MARIADB_DSN): server half skipped");
    }
    return failures;
}

#include "test_day_in_life.moc"
