#pragma once

// The two forms the settlement prints on the report printer, with the margins of the local settings.
// Printer failures reach the caller.

// The daily report of a closed day (nothing when the day has no settlement row).
void PrintDailyReportNow(double day);
// The transfer request of the payment closing on clsDate; false when that closing has no payment lines.
bool PrintBankTransferNow(double clsDate);
