#include "calendar/DayInfo.h"

#include <cmath>

int RokuyoNo(double date)
{
    return RokuyoNo(CalcOldCal(date));
}

int RokuyoNo(const OldCalDate &lunar)
{
    // The cycle restarts with each lunar month: day 1 of month 1 is 先勝 (2), of month 5 大安 (0).
    return (lunar.month + lunar.day) % 6;
}

int EtoNo(double date)
{
    // The day itself counts, not the time: a date value with a time still gets its day's number.
    const auto day = static_cast<long long>(std::floor(DateToDayNum(date)));
    const long long index = ((day + 49) % 60 + 60) % 60;
    return int(index) + 1;
}
