#pragma once

// Puts the system's printers (QPrinterInfo: CUPS on Linux, the spooler on Windows) into the printer list, in
// the system's order, with the system's default printer current. A system printer prints pages through QPrinter
// when it is the report printer, and takes raw ESC/POS jobs (lp -o raw) when it is the receipt printer.
// Call once at start, before the first printing routine; calling again reads the list anew.
void InstallSystemPrinters();
