#pragma once

#include <QStringList>

// The device names of the printers installed in the system, in the system's order, for the printer lists
// of the local settings.
QStringList InstalledPrinterNames();
