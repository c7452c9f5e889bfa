#include "printing/DailyReport.h"

#include "base/Format.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "printing/PrintCtrl.h"
#include "printing/PrintText.h"
#include "printing/Printers.h"
#include "printing/modReport.h"

namespace {

const char *const kDenominations[10] = {"壱萬円", "伍千円", "弐千円", "千円", "500円", "100円", "50円", "10円", "5円", "1円"};

// Draws the form with its origin at (X, Y).
struct Form {
    Surface &s;
    double X;
    double Y;

    void text(double x, double y, const QString &t, int align, double width, int size = 12) const
    {
        PrintText(s, float(X + mm(x)), float(Y + mm(y)), t, align, size, float(mm(width)));
    }
    void box(double x1, double y1, double x2, double y2) const { s.Box(X + mm(x1), Y + mm(y1), X + mm(x2), Y + mm(y2)); }
    void line(double x1, double y1, double x2, double y2) const
    {
        s.Line(X + mm(x1), Y + mm(y1), X + mm(x2), Y + mm(y2));
    }
    // A band across the form from y1 to y2 with vertical lines at the given x.
    void band(double y1, double y2, std::initializer_list<double> verticals) const
    {
        box(0, y1, 180, y2);
        for (double x : verticals)
            line(x, y1, x, y2);
    }
};

} // namespace

void PrintDailyRpt(Surface &surface, float left, float top, double reportDate)
{
    if (!surface.isPrinter())
        surface.setDrawWidth(1);
    ReportJob job(surface, QStringLiteral("日報"));
    Recordset rs = gDb->GetFwdOnlyRst(
        Sql(R"(SELECT D_ADJ.* FROM D_ADJ WHERE SALES_DATE=:day)").date("day", reportDate));
    if (!rs.EOF_()) {
        double X = 0, Y = 0;
        FormOrigin(surface, left, top, X, Y);
        const Form f{surface, X, Y};
        SetPrinterWidth(surface, 4);
        f.text(0, 0,
               PrintCtrl::text(gMst.get(), QStringLiteral("COM_OMT")) + QStringLiteral("　日報　")
                   + Format::date(reportDate, QStringLiteral("ggg ee 年 mm 月 dd 日")),
               2, 180, 20);

        f.text(5, 13, QStringLiteral("レジ担当者"), 2, 30);
        f.text(105, 13, QStringLiteral("／"), 2, 10);
        f.band(10, 20, {40});
        f.text(5, 23, QStringLiteral("出品者数"), 2, 30);
        f.text(105, 23, QStringLiteral("名"), 2, 10);
        f.band(20, 30, {40});
        f.text(5, 33, QStringLiteral("気付いた事"), 2, 30);
        f.band(30, 60, {40});

        const QString money = QStringLiteral("#,##0");
        f.text(5, 73, QStringLiteral("おつりで残した金額"), 2, 30);
        f.text(45, 73, Format::value(rs.Fields(QStringLiteral("CHG_SUM")), money), 1, 40);
        f.text(95, 73, QStringLiteral("預　　金　　額"), 2, 30);
        f.text(135, 73, Format::value(rs.Fields(QStringLiteral("POST_SUM")), money), 1, 40);
        f.band(70, 80, {40, 90, 130});

        for (int i = 0; i < 10; ++i)
            f.text(18.0 * i, 83, QString::fromUtf8(kDenominations[i]), 2, 18);
        f.band(80, 90, {18, 36, 54, 72, 90, 108, 126, 144, 162});
        for (int i = 0; i < 10; ++i) {
            const QString column = QStringLiteral("CHG_%1").arg(i + 1, 2, 10, QLatin1Char('0'));
            f.text(18.0 * i, 93, Format::value(rs.Fields(column), QStringLiteral("0")), 1, 17.5);
        }
        f.band(90, 100, {18, 36, 54, 72, 90, 108, 126, 144, 162});

        f.text(5, 103, QStringLiteral("本日担当者チェック"), 2, 30);
        f.text(95, 103, QStringLiteral("翌日担当者チェック"), 2, 30);
        f.band(100, 110, {40, 90, 130});

        f.text(5, 123, QStringLiteral("Ｍｅｍｏ"), 2, 30);
        f.box(0, 120, 180, 250);
        SetPrinterWidth(surface, 2);
        for (int k = 13; k <= 24; ++k)
            f.line(5, 10.0 * k, 175, 10.0 * k);
    }
    rs.Close();
    if (surface.isPrinter())
        surface.EndDoc();
}
