#include "printing/modPrint.h"

// Placeholders until the printers are driven: the register works without printing.
void SetDefPrinter() {}
void SetRcptPrinter() {}
void OpenDrawer() {}
void CutPaper() {}
void PrintRcpt(qint32) {}
