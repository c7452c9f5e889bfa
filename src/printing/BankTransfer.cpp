#include "printing/BankTransfer.h"

#include "base/Format.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "printing/PrintCtrl.h"
#include "printing/PrintText.h"
#include "printing/Printers.h"
#include "printing/modReport.h"

QList<TrnRec> gTrn;

namespace {

// Column bounds in millimetres: №, 金融機関名, 支店名, 種別, 口座番号, 口座名義, 振込額, 手数料, 合計金額.
constexpr double kBounds[10] = {0, 5, 29, 53, 64, 88, 116, 139, 157, 180};
const char *const kHeadings[9] = {"№", "金融機関名", "支店名", "種別", "口座番号", "口座名義", "振込額", "手数料", "合計金額"};
enum Column { No, Bank, Branch, Kind, Account, Holder, Transfer, Fee, Total };

const QString kMoney = QStringLiteral("#,##0");

// A text in column c at y (twips, absolute), 11 pt.
void cell(Surface &s, double originX, double y, int c, const QString &text, int align)
{
    PrintText(s, float(originX + mm(kBounds[c])), float(y), text, align, 11, float(mm(kBounds[c + 1] - kBounds[c])));
}

void innerBounds(Surface &s, double X, double y1, double y2)
{
    for (int i = 1; i <= 8; ++i)
        s.Line(X + mm(kBounds[i]), y1, X + mm(kBounds[i]), y2);
}

Currency moneyOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? Currency() : v.toCurrency();
}

QString textOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

} // namespace

qint16 LoadTrnData(double closingDate)
{
    Recordset rs = gDb->GetFwdOnlyRst(
        Sql(R"(SELECT D_PAY_DTL.* FROM D_PAY_DTL WHERE CLS_DATE=:cls)").date("cls", closingDate));
    QList<TrnRec> lines;
    while (!rs.EOF_()) {
        TrnRec r;
        const Variant cls = rs.Fields(QStringLiteral("CLS_DATE"));
        const Variant pay = rs.Fields(QStringLiteral("PAY_DATE"));
        r.CLS_DATE = cls.isNull() ? 0 : cls.toDate();
        r.PAY_DATE = pay.isNull() ? 0 : pay.toDate();
        r.FMR_ID = Nz(rs.Fields(QStringLiteral("FMR_ID")), 0).toLong();
        r.PAY_AMT = moneyOf(rs.Fields(QStringLiteral("PAY_AMT")));
        r.BANK_NM = textOf(rs.Fields(QStringLiteral("BANK_NM")));
        r.BR_NM = textOf(rs.Fields(QStringLiteral("BR_NM")));
        r.ACC_KBN = textOf(rs.Fields(QStringLiteral("ACC_KBN")));
        r.ACC_NO = textOf(rs.Fields(QStringLiteral("ACC_NO")));
        r.ACC_NM = textOf(rs.Fields(QStringLiteral("ACC_NM")));
        r.BANK_FEE = moneyOf(rs.Fields(QStringLiteral("BANK_FEE")));
        r.REAL_AMT = moneyOf(rs.Fields(QStringLiteral("REAL_AMT")));
        lines.append(r);
        rs.MoveNext();
    }
    rs.Close();
    if (!lines.isEmpty())
        gTrn = lines;
    return qint16(lines.size());
}

int TrnPageCount()
{
    return int((gTrn.size() + kTrnLinesPerPage - 1) / kTrnLinesPerPage);
}

void PrintBankTrn(Surface &surface, float left, float top)
{
    const int pages = TrnPageCount();
    for (int p = 1; p <= pages; ++p)
        PrintBankTrnPage(surface, left, top, p);
}

void PrintTrnLine(Surface &s, double X, double slotTop, const TrnRec &line)
{
    const double y = slotTop + mm(2.8);
    cell(s, X, y, No, QString::number(line.NO), 1);
    cell(s, X, y, Bank, line.BANK_NM, 0);
    cell(s, X, y, Branch, line.BR_NM, 0);
    cell(s, X, y, Kind, line.ACC_KBN, 0);
    cell(s, X, y, Account, line.ACC_NO, 0);
    cell(s, X, y, Holder, line.ACC_NM, 0);
    cell(s, X, y, Transfer, Format::number(line.REAL_AMT, kMoney), 1);
    cell(s, X, y, Fee, Format::number(line.BANK_FEE, kMoney), 1);
    cell(s, X, y, Total, Format::number(line.PAY_AMT, kMoney), 1);
}

void DrawTrnFrame(Surface &s, double X, double slotTop)
{
    const double bottom = slotTop + mm(10);
    SetPrinterWidth(s, 8);
    s.Line(X, slotTop, X, bottom);
    s.Line(X + mm(180), slotTop, X + mm(180), bottom);
    SetPrinterWidth(s, 4);
    s.Line(X, bottom, X + mm(180), bottom);
}

void PrintBankTrnPage(Surface &surface, float left, float top, int page)
{
    ReportJob job(surface, QStringLiteral("振込依頼書 %1ﾍﾟｰｼﾞ").arg(page));
    if (!surface.isPrinter())
        surface.setDrawWidth(1);
    const qsizetype first = qsizetype(page - 1) * kTrnLinesPerPage;
    const qsizetype highest = gTrn.size() - 1;
    if (page >= 1 && highest >= first) {
        const qsizetype last = qMin(qsizetype(page) * kTrnLinesPerPage - 1, highest);
        double X = 0, Y = 0;
        FormOrigin(surface, left, top, X, Y);

        surface.setFontSize(16);
        surface.CurrentX = X + mm(70);
        surface.CurrentY = Y;
        surface.Print(QStringLiteral("振込依頼書"));
        surface.setFontSize(12);
        surface.CurrentX = X;
        surface.CurrentY = Y + mm(10);
        surface.Print(Format::date(gTrn[first].CLS_DATE, QStringLiteral("gggee年mm月dd日締　"))
                      + Format::date(gTrn[first].PAY_DATE, QStringLiteral("mm月dd日支払分")));

        for (int c = 0; c < 9; ++c)
            cell(surface, X, Y + mm(22.8), c, QString::fromUtf8(kHeadings[c]), 2);
        SetPrinterWidth(surface, 8);
        surface.Box(X, Y + mm(20), X + mm(180), Y + mm(30));
        innerBounds(surface, X, Y + mm(20), Y + mm(30));

        int count = 0;
        Currency transfer, fee, total;
        for (int slot = 0; slot < kTrnLinesPerPage; ++slot) {
            const double slotTop = Y + mm(30 + 10.0 * slot);
            const qsizetype i = first + slot;
            if (i <= last) {
                TrnRec &line = gTrn[i];
                line.NO = slot + 1;
                ++count;
                transfer += line.REAL_AMT;
                fee += line.BANK_FEE;
                total += line.PAY_AMT;
                PrintTrnLine(surface, X, slotTop, line);
            }
            DrawTrnFrame(surface, X, slotTop);
        }

        // Totals of this page.
        const double y = Y + mm(232.8);
        cell(surface, X, y, Bank, QStringLiteral("合計"), 2);
        cell(surface, X, y, Holder, QString::number(count) + QStringLiteral("件"), 1);
        cell(surface, X, y, Transfer, Format::number(transfer, kMoney), 1);
        cell(surface, X, y, Fee, Format::number(fee, kMoney), 1);
        cell(surface, X, y, Total, Format::number(total, kMoney), 1);
        SetPrinterWidth(surface, 8);
        surface.Box(X, Y + mm(230), X + mm(180), Y + mm(240));
        SetPrinterWidth(surface, 4);
        innerBounds(surface, X, Y + mm(230), Y + mm(240));

        PrintText(surface, float(X), float(Y + mm(242)), PrintCtrl::text(gMst.get(), QStringLiteral("COM_NM")), 1, 12,
                  float(mm(180)));
        if (surface.isPrinter())
            surface.EndDoc();
    }
}
