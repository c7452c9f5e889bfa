#include "settings/PrinterNames.h"

#include "printing/Printers.h"

QStringList InstalledPrinterNames()
{
    // The system's printers and, when the register prints into a folder, its virtual printers.
    return Printers::names();
}
