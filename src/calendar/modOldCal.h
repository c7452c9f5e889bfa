#pragma once

#include "calendar/Longitudes.h"

// The lunisolar calendar engine. It turns a civil date into the date of the traditional Japanese lunisolar
// calendar from first principles: truncated series for the longitudes of the sun and the moon, iterative
// searches for the solar terms and the new moons around the date, and a small table of lunar months built from
// them. All times are Japan Standard Time (UTC+9). Every routine is a pure function; nothing is cached.
//
// The arithmetic is kept exactly as the engine has always done it (IEEE doubles, the same constants, the same
// order of operations), so that a day boundary decided by a few seconds falls the same way on every register.

// A lunisolar date.
struct OldCalDate
{
    int year = 0;      // lunar year (the civil year in which lunar month 1 of that year begins)
    bool leap = false; // true in a leap (intercalary) month
    int month = 0;     // 1..12
    int day = 0;       // 1..30

    friend bool operator==(const OldCalDate &, const OldCalDate &) = default;
};

// The civil parts of a day number.
struct CivilDateTime
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// A solar term: its moment (day number, local time) and the sun's longitude then (degrees).
struct SolarTerm
{
    double time = 0;
    double longitude = 0;
};

// The lunisolar date of a civil date (a date value, days since 1899-12-30; callers pass a date without time).
OldCalDate CalcOldCal(double date);

// Day numbers count days in local time; a civil date at 00:00 has the number of its Julian day minus 1
// (2000-01-01 00:00 is 2451544). The time of day is the fraction.
double DateToDayNum(double date);
// The civil date and time of a day number. The year and month are right for every date from 1800 to 2300 and are
// all the engine uses; the day is not always: the last day of February can come back as "February 30".
CivilDateTime DayNumToDate(double jd);

// The solstice or equinox (longitude 0, 90, 180 or 270) at or before the day number tm.
SolarTerm CalcNibun(double tm);
// The principal solar term (longitude a multiple of 30) at or before the day number tm.
SolarTerm CalcChu(double tm);
// The new moon at or before the day number tm, as a day number.
double CalcSaku(double tm);
