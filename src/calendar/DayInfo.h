#pragma once

#include "calendar/modOldCal.h"

// Day information printed on the receipt: the place of a day in the six-day cycle of lucky and unlucky days and
// its number in the sexagenary cycle of days.

// Index 0..5 into the six-day cycle (0 大安, 1 赤口, 2 先勝, 3 友引, 4 先負, 5 仏滅) of a date value.
int RokuyoNo(double date);
// The same for a lunisolar date already computed, so that a caller needing both pays for one calculation.
int RokuyoNo(const OldCalDate &lunar);

// The sexagenary number 1..60 of the day of a date value; it advances by one a day and wraps from 60 to 1.
// Numbered as the L_ETO table of the master database: 2000-01-01 is 54, a day 甲子 is 60.
int EtoNo(double date);
