#pragma once

// Puts the system's printers (the queues of the CUPS server, as QPrinterInfo lists them) into the printer list,
// in the system's order, with the system's default printer current. A system printer takes PDF jobs when it is
// the report printer and raw ESC/POS jobs when it is the receipt printer (CupsQueue).
// Call once at start, before the first printing routine; calling again reads the list anew.
void InstallSystemPrinters();
