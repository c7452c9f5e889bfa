// Times the lunisolar engine: one CalcOldCal call (median over a sample of dates) and the whole range 1900-2100
// as "vantle-admin oldcal" produces it. Usage: bench_oldcal [path to vantle-admin]; without it VANTLE_ADMIN is
// used, and without either the range is timed in this process.

#include "base/DateValue.h"
#include "calendar/DayInfo.h"
#include "calendar/modOldCal.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const QDate kFirst(1900, 1, 1);
const QDate kLast(2100, 12, 31);

volatile int gSink = 0; // keeps the results alive

double microsecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

// Each sampled date is computed a few times in a row and the mean taken, which smooths the clock's resolution;
// the median over the dates keeps the rare slow searches (restarted new-moon searches) from dominating.
void benchmarkSingleCall()
{
    constexpr int kSamples = 2000;
    constexpr int kRepeats = 5;
    const qint64 span = kFirst.daysTo(kLast);

    std::vector<double> perCall;
    perCall.reserve(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const double date = DateValue::fromQDate(kFirst.addDays(span * i / kSamples + i % 7));
        const auto start = std::chrono::steady_clock::now();
        for (int r = 0; r < kRepeats; ++r)
            gSink = gSink + CalcOldCal(date).day;
        perCall.push_back(microsecondsSince(start) / kRepeats);
    }
    std::sort(perCall.begin(), perCall.end());
    double total = 0;
    for (double t : perCall)
        total += t;
    std::printf("CalcOldCal: median %.1f us, mean %.1f us, 90th percentile %.1f us, max %.1f us (%d dates)\n",
                perCall[perCall.size() / 2], total / perCall.size(), perCall[perCall.size() * 9 / 10],
                perCall.back(), kSamples);
}

// The same work as the command: every date, its lunisolar date, six-day index and eto number as text.
void benchmarkRangeInProcess()
{
    QElapsedTimer timer;
    timer.start();
    std::string text;
    qint64 lines = 0;
    for (QDate day = kFirst; day <= kLast; day = day.addDays(1), ++lines) {
        const double date = DateValue::fromQDate(day);
        const OldCalDate lunar = CalcOldCal(date);
        char line[96];
        const int length = std::snprintf(line, sizeof line, "%04d-%02d-%02d\t%d\t%d\t%d\t%d\t%d\t%d\n", day.year(),
                                         day.month(), day.day(), lunar.year, lunar.leap ? 1 : 0, lunar.month,
                                         lunar.day, RokuyoNo(lunar), EtoNo(date));
        text.append(line, std::size_t(length));
        if (text.size() > (1 << 16))
            text.clear();
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::printf("range 1900-2100 in process: %lld dates in %.0f ms (%.1f us per date)\n", lines, ms,
                ms * 1000 / double(lines));
}

bool benchmarkRangeCommand(const QString &admin)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(admin, {QStringLiteral("oldcal"), kFirst.toString(Qt::ISODate), kLast.toString(Qt::ISODate)});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s oldcal failed: %s\n", qPrintable(admin),
                     process.readAllStandardError().constData());
        return false;
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const qint64 lines = kFirst.daysTo(kLast) + 1;
    std::printf("range 1900-2100 through %s oldcal > /dev/null: %lld dates in %.0f ms (%.1f us per date)\n",
                qPrintable(admin), lines, ms, ms * 1000 / double(lines));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmarkSingleCall();

    QString admin = argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("VANTLE_ADMIN");
    if (!admin.isEmpty() && QFileInfo(admin).isExecutable())
        return benchmarkRangeCommand(admin) ? 0 : 1;
    benchmarkRangeInProcess();
    return 0;
}
