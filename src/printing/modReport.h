#pragma once

#include <QString>

class Surface;

// What the two report forms (daily report, transfer request) share.

// The report being produced: 1 transfer request, 2 daily report. Callers set it before calling a report
// routine; the paper-bin choice and the preview read it.
extern qint16 gRptKind;
// The day whose daily report is drawn.
extern double gRptDate;

namespace RptKind {
inline constexpr qint16 BankTrn = 1;
inline constexpr qint16 DailyRpt = 2;
} // namespace RptKind

// Millimetres of the forms in twips.
inline constexpr double kTwipsPerMm = 56.7;
inline double mm(double millimetres) { return millimetres * kTwipsPerMm; }

// The printer's physical printing offset (the unprintable border at its top left) in twips, by way of whole
// millimetres; both stay 0 when the surface has no device to ask.
void GetPrnOffset(const Surface &printer, qint32 &x, qint32 &y);
// Chooses the paper source for gRptKind: the setting 2 is the manual feed (bin 4), anything else the upper
// tray (bin 1). Printer errors are ignored.
void SetPaperBin(Surface &printer);

// The settings keys of a report's margins and their values in twips (the numeric reading of the stored text).
QString LeftMarginKey(qint16 kind);
QString TopMarginKey(qint16 kind);
void ReadMargins(qint16 kind, double &left, double &top);

// The origin of a form on a surface: on a printer the margins less the printer's offset (and the paper bin is
// chosen), on the preview the margins as given.
void FormOrigin(Surface &surface, double left, double top, double &x, double &y);
// Sets a line width used on a printer; the preview draws every line 1 dot wide.
void SetPrinterWidth(Surface &surface, int width);

// The print job of one report on a surface: the application title names the job while the report draws and is
// set back to the product title when the report is left. A report left by an error throws away what it drew on a
// printer, so that the next report does not print on top of a half-drawn page. The report ends its job itself.
class ReportJob
{
public:
    ReportJob(Surface &surface, const QString &title);
    ~ReportJob();
    ReportJob(const ReportJob &) = delete;
    ReportJob &operator=(const ReportJob &) = delete;

private:
    Surface &m_surface;
    int m_exceptions;
};
