#pragma once

#include <QtGlobal>

// The printing routines the other screens call. The current printer is one program-wide setting:
// a routine that prints on the receipt printer selects it and selects the report printer afterwards.
void SetDefPrinter();
void SetRcptPrinter();
// Opens the cash drawer through the receipt printer when the register is set to.
void OpenDrawer();
// Cuts the receipt paper when the register is set to.
void CutPaper();
// Prints the receipt of the stored sale with that number on the receipt printer.
void PrintRcpt(qint32 regId);
