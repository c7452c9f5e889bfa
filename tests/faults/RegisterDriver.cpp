#include "RegisterDriver.h"

#include "app/InitObj.h"
#include "base/DateValue.h"
#include "base/MessagePresenter.h"
#include "checkout/StoreSale.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "settlement/AdjGrid.h"
#include "settlement/SetCls.h"
#include "support/Rows.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <functional>

namespace RegisterDriver {

namespace {

void say(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Runs `work` as a register does: the program's objects open on the sales date, and every message the register
// would have shown goes to the parent too.
int asRegister(const std::function<int()> &work)
{
    RecordingPresenter messages;
    MessagePresenter::install(&messages);
    InitObj();
    gSalesDate = salesDate();
    const int code = work();
    for (const auto &m : messages.shown())
        say(QStringLiteral("MESSAGE ") + QString(m.prompt).replace(u'\n', u' ').replace(u'\r', u' '));
    ReleaseObj();
    MessagePresenter::install(nullptr);
    return code;
}

int storeSales(const QString &tag, int count, int maxFailures)
{
    int failures = 0;
    // As on the screen, a sale that failed stays as it is for the next attempt: one whose commit went
    // unanswered keeps its numbers, so that the next attempt finds it instead of storing it twice.
    Sale sale = makeSale(tag, 0);
    for (int i = 0; i < count;) {
        QList<DtlRec> lines = sale.lines;
        lines << DtlRec(); // the blank slot the screen always has
        try {
            StoreSale(sale.header, lines, gSalesDate, *gDb, *gIni, gMst.get());
            say(QStringLiteral("STORED %1 %2 %3 %4").arg(tag).arg(i).arg(sale.header.REG_ID).arg(sale.header.REG_NO));
            if (++i < count)
                sale = makeSale(tag, i);
        } catch (const std::exception &e) {
            const auto *db = dynamic_cast<const DbError *>(&e);
            QString text = db ? db->description() : QString::fromStdString(e.what());
            say(QStringLiteral("FAILED %1 %2 %3").arg(tag).arg(i).arg(text.replace(u'\n', u' ')));
            if (++failures > maxFailures)
                return 1;
            QThread::msleep(100);
        }
    }
    return 0;
}

int closeDay()
{
    AdjGrid grid = closingGrid();
    say(QStringLiteral("CLOSING"));
    const bool closed = SetCls(grid);
    say(closed ? QStringLiteral("CLOSED") : QStringLiteral("CLOSE-FAILED"));
    return closed ? 0 : 1;
}

} // namespace

AdjGrid closingGrid()
{
    AdjGrid grid;
    for (int i = 0; i < AdjGrid::Rows; ++i) {
        grid.PREV[i] = grid.CASH[i] = QStringLiteral("0");
        grid.DEF[i] = QStringLiteral("1");
    }
    grid.CASH[0] = QStringLiteral("12");
    grid.SetCalsSum();
    return grid;
}

double salesDate()
{
    return DateValue::fromParts(2024, 5, 17);
}

Sale makeSale(const QString &tag, int index)
{
    static const qint32 producers[] = {3, 7, 12, 45, 101, 230};
    static const char *const prices[] = {"98", "150", "298", "1200", "55", "333"};
    static const char *const quantities[] = {"1", "2", "0.5", "3", "1.25", "1"};
    // Seeded explicitly: the same in every process (QHash's own seed changes from process to process).
    auto r = quint32(qHashMulti(0, tag, index));
    const auto next = [&r](quint32 n) {
        r = r * 1103515245u + 12345u;
        return (r >> 16) % n;
    };
    Sale sale;
    const int count = 1 + int(next(5));
    for (int n = 1; n <= count; ++n) {
        DtlRec d;
        d.DTL_NO = n;
        d.FMR_ID = producers[next(6)];
        d.PRD_ID = 10 + int(next(20));
        d.BCD = QStringLiteral("49%1").arg(d.PRD_ID * 1000 + d.FMR_ID, 11, 10, QLatin1Char('0'));
        d.BCD_NM = QStringLiteral("%1 'item' %2/%3 なす").arg(tag).arg(index).arg(n);
        d.FMR_NM = QStringLiteral("O'Neil 農園 %1").arg(d.FMR_ID);
        d.O_PRC = Rows::money(prices[next(6)]);
        d.PRC = d.O_PRC;
        d.QTY = Rows::money(quantities[next(6)]);
        if (next(10) == 0)
            d.QTY = -d.QTY; // goods taken back
        d.UNIT_ID = 1;
        d.AMT = d.PRC * d.QTY;
        sale.header.AMT_SUM += d.AMT;
        sale.lines << d;
    }
    sale.header.DTL_CNT = count;
    sale.header.RCV = sale.header.AMT_SUM > Currency() ? Currency::fromInt(10000) : Currency();
    sale.header.CHG = sale.header.RCV - sale.header.AMT_SUM;
    return sale;
}

int run(int argc, char *argv[])
{
    if (argc < 2 || !QByteArray(argv[1]).startsWith("--driver-"))
        return -1;
    const QByteArray mode(argv[1]);
    if (mode == "--driver-store" && (argc == 4 || argc == 5))
        return asRegister([&] {
            return storeSales(QString::fromUtf8(argv[2]), QByteArray(argv[3]).toInt(), argc == 5 ? QByteArray(argv[4]).toInt() : 0);
        });
    if (mode == "--driver-close" && argc == 2)
        return asRegister(closeDay);
    std::fprintf(stderr, "unknown driver arguments\n");
    return 2;
}

Process::Process(const QStringList &arguments)
{
    m_process.setReadChannel(QProcess::StandardOutput);
    m_process.start(QCoreApplication::applicationFilePath(), arguments);
}

bool Process::waitFor(const QByteArray &prefix, int ms, int times)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        m_output += m_process.readAllStandardOutput();
        if (('\n' + m_output).count('\n' + prefix) >= times)
            return true;
        if (m_process.state() == QProcess::NotRunning || t.elapsed() > ms)
            return false;
        m_process.waitForReadyRead(50);
    }
}

bool Process::finish(int ms)
{
    const bool ended = m_process.waitForFinished(ms);
    m_output += m_process.readAllStandardOutput();
    if (ended && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0)
        return true;
    m_output += m_process.readAllStandardError();
    return false;
}

bool Process::killAfter(int ms)
{
    QThread::msleep(ms);
    const bool running = m_process.state() == QProcess::Running;
    m_process.kill();
    m_process.waitForFinished(10000);
    m_output += m_process.readAllStandardOutput();
    return running;
}

int Ledger::read(const QByteArray &output)
{
    int stored = 0;
    for (const QByteArray &line : output.split('\n')) {
        const QStringList f = QString::fromUtf8(line).split(u' ');
        if (f.value(0) == u"STORED" && f.size() == 5) {
            sales.insert(f[3].toInt(), {f[1], f[2].toInt()});
            numbers.insert(f[3].toInt(), f[4].toInt());
            ++stored;
        } else if (f.value(0) == u"FAILED") {
            ++failures;
        }
    }
    return stored;
}

QString Ledger::perProducer() const
{
    QMap<qint32, QPair<Currency, Currency>> sums;
    for (const auto &s : sales) {
        for (const DtlRec &d : makeSale(s.first, s.second).lines) {
            sums[d.FMR_ID].first += d.QTY;
            sums[d.FMR_ID].second += d.AMT;
        }
    }
    QStringList rows;
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        rows << QStringLiteral("%1|%2|%3").arg(it.key()).arg(it->first.toPlainText(), it->second.toPlainText());
    return rows.join(u'\n');
}

} // namespace RegisterDriver
