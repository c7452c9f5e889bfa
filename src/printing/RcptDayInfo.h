#pragma once

#include <QStringList>

// The day-information lines of the receipt for today: the lunisolar date line, and the birth-flower lines
// (the two texts, empty ones left out). Empty while the day-information texts are not available.
QString RcptOldDateLine();
QStringList RcptFlowerLines();
