#include "printing/modReport.h"

#include "base/Common.h"
#include "base/Variant.h"
#include "data/Globals.h"
#include "data/clsINI.h"
#include "printing/PrintCtrl.h"
#include "printing/Printers.h"
#include "printing/Surface.h"

#include <cmath>
#include <exception>

qint16 gRptKind = 0;
double gRptDate = 0;

namespace {

// Millimetres rounded half up, then twips rounded to the nearest whole (half to even).
qint32 offsetTwips(double pixels, double dpi)
{
    if (dpi <= 0)
        return 0;
    const double millimetres = std::floor(pixels * 25.4 / dpi + 0.5);
    return qint32(std::nearbyint(millimetres * 567 / 10));
}

} // namespace

void GetPrnOffset(const Surface &printer, qint32 &x, qint32 &y)
{
    double px = 0, py = 0, dpiX = 0, dpiY = 0;
    if (!printer.physicalOffset(px, py, dpiX, dpiY))
        return;
    x = offsetTwips(px, dpiX);
    y = offsetTwips(py, dpiY);
}

void SetPaperBin(Surface &printer)
{
    const QString key = gRptKind == RptKind::BankTrn ? QStringLiteral("BANK_TRN_PAPER_BIN")
                                                     : QStringLiteral("DAILY_REPORT_PAPER_BIN");
    try {
        const int bin = PrintCtrl::number(gIni.get(), key) == 2 ? 4 : 1;
        printer.setPaperBin(bin);
    } catch (const std::exception &) {
        // A printer that cannot choose its bin prints from the one it has.
    }
}

QString LeftMarginKey(qint16 kind)
{
    return kind == RptKind::BankTrn ? QStringLiteral("BANK_TRN_LEFT_MGN") : QStringLiteral("DAILY_REPORT_LEFT_MGN");
}

QString TopMarginKey(qint16 kind)
{
    return kind == RptKind::BankTrn ? QStringLiteral("BANK_TRN_TOP_MGN") : QStringLiteral("DAILY_REPORT_TOP_MGN");
}

void ReadMargins(qint16 kind, double &left, double &top)
{
    left = Val(PrintCtrl::text(gIni.get(), LeftMarginKey(kind)));
    top = Val(PrintCtrl::text(gIni.get(), TopMarginKey(kind)));
}

void FormOrigin(Surface &surface, double left, double top, double &x, double &y)
{
    x = left;
    y = top;
    if (!surface.isPrinter())
        return;
    qint32 offsetX = 0, offsetY = 0;
    GetPrnOffset(surface, offsetX, offsetY);
    SetPaperBin(surface);
    x = left - offsetX;
    y = top - offsetY;
}

void SetPrinterWidth(Surface &surface, int width)
{
    surface.setDrawWidth(surface.isPrinter() ? width : 1);
}

ReportJob::ReportJob(Surface &surface, const QString &title)
    : m_surface(surface), m_exceptions(std::uncaught_exceptions())
{
    SetAppTitle(title);
}

ReportJob::~ReportJob()
{
    if (std::uncaught_exceptions() > m_exceptions && m_surface.isPrinter()) {
        try {
            m_surface.KillDoc();
        } catch (...) {
            // The error that left the report is the one the caller hears of.
        }
    }
    SetAppTitle(kProductTitle);
}
