#include "printing/RcptDayInfo.h"

#include "base/Clock.h"
#include "calendar/DayText.h"

QString RcptOldDateLine()
{
    return TodayText(Clock::Today());
}

QStringList RcptFlowerLines()
{
    QString flower;
    QString word;
    GetFlower(Clock::Today(), flower, word);
    return {flower, word};
}
