#include "settlement/ClosePrinting.h"

#include "printing/BankTransfer.h"
#include "printing/DailyReport.h"
#include "printing/Printers.h"
#include "printing/modPrint.h"
#include "printing/modReport.h"

void PrintDailyReportNow(double day)
{
    gRptDate = day;
    gRptKind = RptKind::DailyRpt;
    double left = 0, top = 0;
    ReadMargins(RptKind::DailyRpt, left, top);
    SetDefPrinter();
    PrintDailyRpt(Printer(), float(left), float(top), gRptDate);
}

bool PrintBankTransferNow(double clsDate)
{
    double left = 0, top = 0;
    ReadMargins(RptKind::BankTrn, left, top);
    if (LoadTrnData(clsDate) <= 0)
        return false;
    gRptKind = RptKind::BankTrn;
    SetDefPrinter();
    PrintBankTrn(Printer(), float(left), float(top));
    return true;
}
