#include "printing/RcptDayInfo.h"

// The day-information texts are made by the calendar's day information; until they are there the receipt
// prints none. These two functions are the only place the receipt asks for them.
QString RcptOldDateLine()
{
    return {};
}

QStringList RcptFlowerLines()
{
    return {};
}
