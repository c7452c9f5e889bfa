#pragma once

#include <QStringList>

// The day-information lines of the receipt for today: the lunisolar date line, and the birth-flower lines
// (the two texts; the receipt leaves out empty ones).
QString RcptOldDateLine();
QStringList RcptFlowerLines();
