#include "calendar/modOldCal.h"

#include "base/DateValue.h"

#include <array>
#include <cmath>
#include <cstdint>

// Every constant and every operation below is part of the result: the searches stop within a second of the
// true moment, and a new moon or solar term a few seconds from midnight decides which day a month begins on.
// So the order of operations, the 15-digit pi and the divisions stay as they are; the build forbids fused
// multiply-add and fast-math for the same reason.

namespace {

constexpr double kJstOffset = 9.0 / 24;  // Japan Standard Time is UTC+9
constexpr double kOneSecond = 1.0 / 86400;

// Int of the old language: the floor, also for negative numbers.
double Int(double x)
{
    return std::floor(x);
}

// Julian centuries from J2000 of a universal time held as whole days and a fraction (the fraction already moved
// to universal time). The two quotients are taken separately to keep the precision of the fraction.
double TimeArg(double tm1, double tm2)
{
    return (tm2 + 0.5) / 36525 + (tm1 - 2451545) / 36525;
}

// Moves a two-part time back by whole days d1 and a fraction d2, borrowing a day when the fraction goes negative.
void StepBack(double &tm1, double &tm2, double d1, double d2)
{
    tm1 = tm1 - d1;
    tm2 = tm2 - d2;
    if (tm2 < 0) {
        tm2 = tm2 + 1;
        tm1 = tm1 - 1;
    }
}

// A solar-term search has no natural limit. It converges in at most 6 steps for every date of the years 1 to
// 9999; the bound only keeps a pathological argument (a corrupt date) from hanging the register.
constexpr int kMaxSolarTermSteps = 1000;

// The moment at or before tm at which the sun's longitude was a multiple of `step` degrees. Each step moves the
// time back by the remaining angle at the sun's mean rate, until the step is below a second.
SolarTerm CalcSolarTerm(double tm, double step)
{
    double tm1 = Int(tm);
    double tm2 = tm - tm1;
    tm2 = tm2 - kJstOffset;

    double lon = SunLong(TimeArg(tm1, tm2));
    const double lon0 = Int(lon / step) * step;

    // The first step starts from the time just evaluated, so its longitude is the one already in hand.
    double d1 = 0;
    double d2 = 1;
    for (int n = 0; std::fabs(d2 + d1) > kOneSecond && n < kMaxSolarTermSteps; ++n) {
        if (n > 0)
            lon = SunLong(TimeArg(tm1, tm2));
        double dl = lon - lon0;
        if (dl > 180)
            dl = dl - 360;
        else if (dl < -180)
            dl = dl + 360;
        d1 = Int(dl * 365.2 / 360);
        d2 = dl * 365.2 / 360 - d1;
        StepBack(tm1, tm2, d1, d2);
    }
    return {(kJstOffset + tm2) + tm1, lon0};
}

// The angle of the moon ahead of the sun, turned so that the next step of the new-moon search goes the right
// way. The first step always goes back to the preceding new moon; just after the sun passes 0 degrees while the
// moon is still below 360 the difference wraps and needs its own turn. Near the spring equinox that turn can
// carry a search one new moon too far (back or forward); CalcOldCal's corrections of its list absorb it.
double PullAngle(double ls, double lm, int lc)
{
    double dl = lm - ls;
    if (lc == 1 && dl < 0)
        dl = NormAngle(dl);
    else if (0 <= ls && ls <= 20 && lm >= 300)
        dl = 360 - NormAngle(dl);
    else if (std::fabs(dl) > 40)
        dl = NormAngle(dl);
    return dl;
}

// The next new moon after the new moon `previous`. A search from 30 days on can land on the same new moon
// again when lunations are long; then it starts from 35 days on.
double NextSaku(double previous)
{
    double next = CalcSaku(previous + 30);
    if (std::fabs(Int(previous) - Int(next)) <= 26)
        next = CalcSaku(previous + 35);
    return next;
}

constexpr int kMoons = 5;

struct LunarMonth
{
    int month = 0;
    bool leap = false;
    double start = 0; // the day (Int of the day number) on which the month begins
};

// The four principal terms from the solstice or equinox at or before tm0.
std::array<SolarTerm, 4> PrincipalTerms(double tm0)
{
    std::array<SolarTerm, 4> chu;
    chu[0] = CalcNibun(tm0);
    for (int i = 1; i < 4; ++i)
        chu[i] = CalcChu(chu[i - 1].time + 32);
    return chu;
}

// Five consecutive new moons, the first one at or before the day of the first principal term.
std::array<double, kMoons> NewMoons(const SolarTerm &first)
{
    std::array<double, kMoons> saku;
    saku[0] = CalcSaku(first.time);
    for (int i = 1; i < kMoons; ++i)
        saku[i] = NextSaku(saku[i - 1]);

    const double d0 = Int(first.time);
    if (Int(saku[1]) <= d0) {
        // The list starts one new moon too early: drop the first and find one more at the end.
        for (int i = 0; i < kMoons - 1; ++i)
            saku[i] = saku[i + 1];
        saku[4] = CalcSaku(saku[3] + 35);
    } else if (Int(saku[0]) > d0) {
        // The list starts too late: shift up and find the new moon before the old first one.
        for (int i = kMoons - 1; i > 0; --i)
            saku[i] = saku[i - 1];
        saku[0] = CalcSaku(saku[0] - 27);
    }
    return saku;
}

// The lunar months beginning at the five new moons. A month that contains no principal term is a leap month
// and takes the number of the month before it; only one leap month is looked for, and only when five new
// moons fall within the four terms.
std::array<LunarMonth, kMoons> MonthTable(const std::array<SolarTerm, 4> &chu, const std::array<double, kMoons> &saku)
{
    bool lap = Int(saku[4]) <= Int(chu[3].time);

    std::array<LunarMonth, kMoons> rows;
    rows[0] = {int(Int(chu[0].longitude / 30)) + 2, false, Int(saku[0])};
    for (int i = 1; i < kMoons; ++i) {
        if (lap && i != 1) {
            const double term = Int(chu[i - 1].time);
            if (term <= Int(saku[i - 1]) || term >= Int(saku[i])) {
                rows[i - 1] = {rows[i - 2].month, true, Int(saku[i - 1])};
                lap = false;
            }
        }
        int month = rows[i - 1].month + 1;
        if (month > 12)
            month = month - 12;
        rows[i] = {month, false, Int(saku[i])};
    }
    return rows;
}

// The row of the month containing `day`: the last row that starts on or before it.
int RowOfDay(const std::array<LunarMonth, kMoons> &rows, double day)
{
    for (int i = 0; i < kMoons; ++i) {
        if (day < rows[i].start)
            return i > 0 ? i - 1 : 0; // the table always starts on or before the day; never index row -1
        if (day == rows[i].start)
            return i;
    }
    return kMoons - 1;
}

} // namespace

double DateToDayNum(double date)
{
    // The parts of the date to the nearest second, as the old date functions gave them.
    QDate civil = DateValue::toQDate(date);
    const double whole = std::trunc(date);
    std::int64_t seconds = std::llround(std::fabs(date - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        civil = civil.addDays(1);
    }

    double y = civil.year();
    double m = civil.month();
    const double d = civil.day();
    const double h = double(seconds / 3600);
    const double mi = double(seconds % 3600 / 60);
    const double s = double(seconds % 60);

    if (m < 3) {
        y = y - 1;
        m = m + 12;
    }
    const double n = Int(365.25 * y) + Int(y / 400) - Int(y / 100) + Int(30.59 * (m - 2)) + 1721088 + d;
    return n + (s / 3600 + mi / 60 + h) / 24;
}

CivilDateTime DayNumToDate(double jd)
{
    const double x0 = Int(jd + 68570);
    const double x1 = Int(x0 / 36524.25);
    const double x2 = x0 - Int(36524.25 * x1 + 0.75);
    const double x3 = Int((x2 + 1) / 365.2425);
    const double x4 = x2 - Int(365.25 * x3) + 31;
    const double x5 = Int(x4 / 30.59);
    const double x6 = Int(x5 / 11);

    CivilDateTime result;
    result.day = int(x4 - Int(30.59 * x5));
    result.month = int(x5 - 12 * x6 + 2);
    result.year = int(100 * (x1 - 49) + x3 + x6);

    const double f = (jd - Int(jd)) * 86400;
    const double hour = Int(f / 3600);
    const double minute = Int((f - 3600 * hour) / 60);
    result.hour = int(hour);
    result.minute = int(minute);
    result.second = int(Int(f - 3600 * hour - 60 * minute));
    return result;
}

SolarTerm CalcNibun(double tm)
{
    return CalcSolarTerm(tm, 90);
}

SolarTerm CalcChu(double tm)
{
    return CalcSolarTerm(tm, 30);
}

double CalcSaku(double tm)
{
    double tm1 = Int(tm);
    double tm2 = tm - tm1 - kJstOffset;
    double d1 = 0;
    double d2 = 1;

    for (int lc = 1; std::fabs(d1 + d2) > kOneSecond; ++lc) {
        const double t = TimeArg(tm1, tm2);
        const double ls = SunLong(t);
        const double lm = MoonLong(t);
        const double dl = PullAngle(ls, lm, lc);

        d1 = Int(dl * 29.530589 / 360);
        d2 = dl * 29.530589 / 360 - d1;
        StepBack(tm1, tm2, d1, d2);

        const bool unconverged = std::fabs(d2 + d1) > kOneSecond;
        if (unconverged && lc == 15) {
            // Circling between two new moons: start again well before the argument.
            tm1 = Int(tm - 26);
            tm2 = 0;
        } else if (unconverged && lc > 30) {
            // Give up and return the argument itself; no error is raised.
            tm1 = tm;
            tm2 = 0;
            break;
        }
    }
    return (tm2 + tm1) + kJstOffset;
}

OldCalDate CalcOldCal(double date)
{
    const double tm0 = DateToDayNum(date);
    const auto chu = PrincipalTerms(tm0);
    const auto saku = NewMoons(chu[0]);
    const auto rows = MonthTable(chu, saku);

    const double day = Int(tm0);
    const LunarMonth &row = rows[RowOfDay(rows, day)];

    OldCalDate result;
    result.leap = row.leap;
    result.month = row.month;
    result.day = int(day - row.start + 1);

    // Late lunar months (10..12) that begin in the previous civil year still belong to the previous lunar year.
    const CivilDateTime civil = DayNumToDate(tm0);
    result.year = civil.year;
    if (result.month > 9 && result.month > civil.month)
        result.year = result.year - 1;
    return result;
}
