#include "payment/PayStatementForm.h"

#include "base/Common.h"
#include "base/Format.h"
#include "printing/PrintText.h"
#include "printing/Printers.h"
#include "printing/Surface.h"
#include "printing/modReport.h"

#include <QtMath>

namespace PayStatementForm {

namespace {

const QString kMoney = QStringLiteral("#,##0");
const QString kDate = QStringLiteral("yyyy年m月d日");
const QString kDayOfTable = QStringLiteral("m月d日(aaa)");

// The day table: 売上日, 数量, 金額 between these bounds (mm).
constexpr double kCols[4] = {0, 80, 130, 180};
constexpr double kTableTop = 40;
constexpr double kRow = 6;

QString qty(Currency value)
{
    return Format::number(value, value.isWhole() ? kMoney : QStringLiteral("#,##0.00"));
}

QString percent(Currency rate)
{
    const Currency hundred = Currency::fromInt(100);
    const Currency p = rate * hundred;
    return Format::number(p, p.isWhole() ? QStringLiteral("0") : QStringLiteral("0.0")) + u'%';
}

void cell(Surface &s, double X, double y, int column, const QString &text, int align, int size = 11)
{
    PrintText(s, float(X + mm(kCols[column])), float(y), text, align, size, float(mm(kCols[column + 1] - kCols[column])));
}

void at(Surface &s, double x, double y, double width, const QString &text, int align, int size)
{
    PrintText(s, float(x), float(y), text, align, size, float(width));
}

void heading(Surface &s, double X, double Y, const PayStatementSet &set, const PayStatement &st, int page, int pages)
{
    at(s, X, Y, mm(180), QStringLiteral("支 払 明 細 書"), 2, 20);
    if (pages > 1)
        at(s, X, Y + mm(2), mm(180), QStringLiteral("%1 / %2").arg(page).arg(pages), 1, 10);
    at(s, X, Y + mm(12), mm(110), QStringLiteral("%1　%2　様").arg(st.fmrId, 4, 10, QChar(u'0')).arg(st.fmrName), 0, 14);
    SetPrinterWidth(s, 4);
    s.Line(X, Y + mm(19), X + mm(110), Y + mm(19));
    at(s, X + mm(110), Y + mm(13), mm(70), set.shopName, 1, 12);
    at(s, X, Y + mm(24), mm(180), QStringLiteral("対象期間　%1 ～ %2").arg(Format::date(set.periodFrom, kDate),
                                                                        Format::date(set.closingDate, kDate)), 0, 11);
    at(s, X, Y + mm(30), mm(180), QStringLiteral("締日　%1　　お支払日　%2").arg(Format::date(set.closingDate, kDate),
                                                                            Format::date(set.payDate, kDate)), 0, 11);
}

void dayTable(Surface &s, double X, double Y, const PayStatement &st, int page, bool last)
{
    const double top = Y + mm(kTableTop);
    const char *titles[3] = {"売上日", "数量", "金額"};
    for (int c = 0; c < 3; ++c)
        cell(s, X, top + mm(1.5), c, QString::fromUtf8(titles[c]), 2);
    const qsizetype first = qsizetype(page - 1) * DaysPerPage;
    const qsizetype end = qMin(first + DaysPerPage, st.days.size());
    int rows = 1;
    for (qsizetype i = first; i < end; ++i, ++rows) {
        const double y = top + mm(kRow * rows + 1.5);
        cell(s, X, y, 0, Format::date(st.days[i].date, kDayOfTable), 0);
        cell(s, X, y, 1, qty(st.days[i].qty), 1);
        cell(s, X, y, 2, Format::number(st.days[i].amount, kMoney), 1);
    }
    if (last) {
        const double y = top + mm(kRow * rows + 1.5);
        cell(s, X, y, 0, QStringLiteral("合計（%1日）").arg(st.days.size()), 2);
        cell(s, X, y, 1, qty(st.salesQty), 1);
        cell(s, X, y, 2, Format::number(st.salesAmt, kMoney), 1);
        ++rows;
    }
    const double bottom = top + mm(kRow * rows);
    SetPrinterWidth(s, 6);
    s.Box(X, top, X + mm(180), bottom);
    SetPrinterWidth(s, 2);
    for (int r = 1; r < rows; ++r)
        s.Line(X, top + mm(kRow * r), X + mm(180), top + mm(kRow * r));
    for (int c = 1; c < 3; ++c)
        s.Line(X + mm(kCols[c]), top, X + mm(kCols[c]), bottom);
}

void summary(Surface &s, double X, double Y, const PayStatement &st)
{
    const double top = Y + mm(kTableTop + kRow * (DaysPerPage + 2) + 6);
    const QString fee = st.feeRate ? QStringLiteral("販売手数料（%1）").arg(percent(*st.feeRate)) : QStringLiteral("販売手数料");
    const QList<QPair<QString, Currency>> lines{
        {QStringLiteral("売上金額"), st.salesAmt},        {fee, -st.feeAmt},
        {QStringLiteral("お支払額"), st.payAmt},          {QStringLiteral("振込手数料"), -st.bankFee},
        {QStringLiteral("お振込額"), st.realAmt},
    };
    for (int i = 0; i < lines.size(); ++i) {
        const double y = top + mm(kRow * i + 1.5);
        at(s, X + mm(80), y, mm(50), lines[i].first, 0, i == 4 ? 12 : 11);
        at(s, X + mm(130), y, mm(50), Format::number(lines[i].second, kMoney) + QStringLiteral(" 円"), 1, i == 4 ? 12 : 11);
    }
    SetPrinterWidth(s, 6);
    s.Box(X + mm(80), top, X + mm(180), top + mm(kRow * 5));
    SetPrinterWidth(s, 2);
    for (int i = 1; i < 5; ++i)
        s.Line(X + mm(80), top + mm(kRow * i), X + mm(180), top + mm(kRow * i));
    const QString account = QStringList{st.bankName, st.branchName, st.accountKind, st.accountNo, st.accountName}.join(u'　').trimmed();
    at(s, X, top + mm(kRow * 5 + 4), mm(180),
       QStringLiteral("お振込先　") + (account.isEmpty() ? QStringLiteral("（口座の登録がありません）") : account), 0, 11);
    if (st.realAmt <= Currency())
        at(s, X, top + mm(kRow * 5 + 10), mm(180), QStringLiteral("お振込額がないため、今回のお振込はありません。"), 0, 11);
}

} // namespace

int Pages(const PayStatement &statement)
{
    return qMax(1, int((statement.days.size() + DaysPerPage - 1) / DaysPerPage));
}

void PrintPage(Surface &surface, float left, float top, const PayStatementSet &set, const PayStatement &statement, int page)
{
    const int pages = Pages(statement);
    if (page < 1 || page > pages)
        return;
    if (!surface.isPrinter())
        surface.setDrawWidth(1);
    double X = 0, Y = 0;
    FormOrigin(surface, left, top, X, Y);
    heading(surface, X, Y, set, statement, page, pages);
    dayTable(surface, X, Y, statement, page, page == pages);
    if (page == pages)
        summary(surface, X, Y, statement);
}

void PrintAll(Surface &surface, float left, float top, const PayStatementSet &set, Progress &progress)
{
    SetAppTitle(QStringLiteral("支払明細書"));
    qint64 drawn = 0;
    progress.report(drawn, set.statements.size());
    for (const PayStatement &statement : set.statements) {
        const int pages = Pages(statement);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                surface.NewPage();
            PrintPage(surface, left, top, set, statement, page);
        }
        if (surface.isPrinter())
            surface.EndDoc();
        progress.report(++drawn, set.statements.size());
    }
    SetAppTitle(kProductTitle);
}

} // namespace PayStatementForm
