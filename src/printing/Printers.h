#pragma once

#include "printing/Surface.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

// One printer of the list the settings are matched against. A printer offers a page surface (reports), a
// receipt surface (ESC/POS raster), or both (a system queue: it prints pages when it is the report printer and
// raw receipt bytes when it is the receipt printer).
struct PrinterEntry
{
    QString name;
    std::function<std::unique_ptr<Surface>()> page;
    std::function<std::unique_ptr<Surface>()> receipt;
};

// The installed printers and the one current printer of the program.
//
// The list is, in this order: the system's printers (from the source the screens install, see
// InstallSystemPrinters), the receipt printers named in VANTLE_RECEIPT_DEVICES ("name=uri;name=uri" with the
// addresses of RawTransport), and, when VANTLE_PRINT_DIR names a folder, the two virtual printers that write into
// it: "VirtualPDF" (every job a PDF) and "VirtualReceipt" (every job's ESC/POS bytes and a PNG of the slip).
// File names are the job's title and the time it ended.
namespace Printers {

enum class Role { Page, Receipt };

inline const QString VirtualPageName = QStringLiteral("VirtualPDF");
inline const QString VirtualReceiptName = QStringLiteral("VirtualReceipt");

// The system's printers and the name of its default printer.
struct SystemSource {
    std::function<QList<PrinterEntry>()> printers;
    std::function<QString()> defaultName;
};
void setSystemSource(SystemSource source);

// Reads the list again; the current printer becomes the system's default one, else the first of the list.
void reload();
// Adds a printer at the end of the list (tests, and receipt printers outside the system's list); it stays in
// the list over reloads until clearAdded.
void add(PrinterEntry entry);
void clearAdded();

QStringList names();
bool hasCurrent();
QString currentName();
Role currentRole();
// Makes the printer at that index of the list current, printing pages or receipts when it can do both.
void select(int index, Role role);

// The folder of the virtual printers, empty when there are none.
QString virtualFolder();
// A new file name in the folder for a job of that title ending now: "<title>_<yyyyMMdd-HHmmss-zzz>.<ext>".
QString jobFile(const QString &folder, const QString &title, const QString &extension);

} // namespace Printers

// The current printer's surface. Without any printer it throws PrinterError.
Surface &Printer();
