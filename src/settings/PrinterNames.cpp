#include "settings/PrinterNames.h"

#include <QPrinterInfo>

QStringList InstalledPrinterNames()
{
    return QPrinterInfo::availablePrinterNames();
}
