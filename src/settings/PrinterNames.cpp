#include "settings/PrinterNames.h"

#include "printing/Printers.h"

QStringList InstalledPrinterNames()
{
    // The system's printers as they are now (a queue added since the start is there too) and, when the
    // register prints into a folder, its virtual printers. The printing routines choose their printer anew
    // from the settings every time, so reading the list again changes nothing for them.
    Printers::reload();
    return Printers::names();
}
