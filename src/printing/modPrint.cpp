#include "printing/modPrint.h"

#include "base/Common.h"
#include "base/Format.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "printing/PrintCtrl.h"
#include "printing/PrintText.h"
#include "printing/Printers.h"
#include "printing/RcptDayInfo.h"
#include "printing/ReceiptTax.h"

namespace {

// The receipt's printable width in twips (71 mm).
constexpr double kSlipWidth = 4025.7;
// Where "(内消費税" starts, and one half-width cell of the 11 pt font before it.
constexpr double kTaxLabelX = 2154.6;
constexpr double kCell = 110;

// Makes the first printer whose name matches the setting in its first ten characters, case-blind, current.
void selectBySetting(const QString &key, Printers::Role role, const QString &logText)
{
    if (!Printers::hasCurrent())
        return;
    WriteLog(logText);
    const QString wanted = PrintCtrl::text(gIni.get(), key).leftJustified(10, u' ', true);
    const QStringList names = Printers::names();
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].leftJustified(10, u' ', true).compare(wanted, Qt::CaseInsensitive) == 0) {
            Printers::select(i, role);
            return;
        }
    }
}

// Prints one character of the receipt printer's command font as a job of its own.
void sendControl(const QString &character)
{
    SetRcptPrinter();
    Surface &printer = Printer();
    const QString font = printer.FontName();
    printer.setFontName(QStringLiteral("control"));
    printer.Print(character);
    printer.EndDoc();
    printer.setFontName(font);
    printer.setFontCharset(128);
    SetDefPrinter();
}

// A number right-aligned in a field of n characters. A number longer than its field is printed whole (the field
// grows to the left): cutting it to the field would print a wrong figure on the customer's receipt.
QString field(const QString &text, int n)
{
    return text.size() >= n ? text : text.rightJustified(n, u' ');
}

QString amount(const Variant &value)
{
    return Format::value(value, QStringLiteral("#,##0"));
}

Currency moneyOf(const Variant &value)
{
    return value.isNull() || value.isEmpty() ? Currency() : value.toCurrency();
}

void printCentred(Surface &p, const QString &text)
{
    p.CurrentX = (kSlipWidth - p.TextWidth(text)) / 2;
    p.Print(text);
}

void printRight(Surface &p, const QString &text, bool lineEnd = true)
{
    p.CurrentX = kSlipWidth - p.TextWidth(text);
    p.Print(text, lineEnd);
}

void rule(Surface &p)
{
    p.CurrentY += 170.1;
    p.setDrawStyle(Surface::Dot);
    p.Line(0, p.CurrentY, 4026, p.CurrentY);
    p.CurrentY += 170.1;
    p.setDrawStyle(Surface::Solid);
}

void printLine(Surface &p, const QString &text)
{
    PrintText(p, 0, float(p.CurrentY), text, 0, 12, float(kSlipWidth));
}

// An invoice's tax: per rate, highest first, its total and the tax it contains, each truncated once; then
// what the mark of the reduced-rate lines means.
void printRates(Surface &p, const ReceiptTax &tax, Currency total)
{
    for (const SaleTax::Rate &r : tax.rates(total)) {
        p.CurrentX = 0;
        p.Print(SaleTax::PercentText(r.rate) + QStringLiteral("対象"), false);
        const QString amount = Format::number(r.amount, QStringLiteral("#,##0"));
        p.CurrentX = kTaxLabelX - kCell - p.TextWidth(amount);
        p.Print(amount, false);
        p.CurrentX = kTaxLabelX;
        p.Print(QStringLiteral("(内消費税 "), false);
        printRight(p, field(Format::number(r.tax, QStringLiteral("#,##0")) + u')', 8));
    }
    if (tax.marksReduced()) {
        p.CurrentX = 0;
        p.Print(QString::fromUtf8(ReceiptTax::MarkNote));
    }
}

void drawReceipt(qint32 regId)
{
    if (PrintCtrl::number(gIni.get(), QStringLiteral("DRAWER_OPEN")) != 0)
        OpenDrawer();
    SetRcptPrinter();
    Surface &p = Printer();
    p.CurrentX = 0;
    p.CurrentY = 0;
    p.setFontName(QStringLiteral("Japanese11"));
    p.setFontCharset(128);

    // Head: a stored logo or the shop's name, then the title.
    if (PrintCtrl::isTrue(gIni.get(), QStringLiteral("PRINT_LOGO"))) {
        const int n = int(PrintCtrl::number(gIni.get(), QStringLiteral("PRINT_LOGO_NO")));
        if (n > 0) {
            p.setFontName(QStringLiteral("control"));
            p.CurrentX = 567;
            p.Print(n <= 5 ? QString(QChar(u'G' + n - 1)) : QString());
        }
    } else {
        p.setFontName(QStringLiteral("Japanese22"));
        p.setFontSize(22);
        printCentred(p, PrintCtrl::text(gMst.get(), QStringLiteral("COM_NM")));
    }
    const ReceiptTax tax(gDb.get(), gMst.get(), regId);
    if (!tax.registration().isEmpty()) {
        p.setFontName(QStringLiteral("Japanese11"));
        p.setFontSize(11);
        printCentred(p, QStringLiteral("登録番号 ") + tax.registration());
    }
    p.setFontName(QStringLiteral("Japanese22"));
    p.setFontSize(22);
    printCentred(p, QStringLiteral("領 収 書"));
    p.setFontName(QStringLiteral("Japanese11"));
    p.setFontSize(11);

    Recordset head = gDb->GetFwdOnlyRst(Sql(R"(SELECT D_REG.* FROM D_REG WHERE D_REG.REG_ID=:id)").number("id", regId));
    const bool hasHead = !head.EOF_();
    if (hasHead) {
        p.CurrentY += 360;
        printCentred(p, Format::value(head.Fields(QStringLiteral("REG_DTM")), QStringLiteral("yyyy年m月d日(aaa) hh時nn分")));
        const Variant user = head.Fields(QStringLiteral("REG_USER"));
        if (!user.isNull()) {
            p.CurrentX = 0;
            p.Print(QStringLiteral("担当者: ") + user.toString());
        }
    }
    rule(p);

    Currency quantity;
    Recordset lines =
        gDb->GetFwdOnlyRst(Sql(R"(SELECT D_REG_DTL.* FROM D_REG_DTL WHERE D_REG_DTL.REG_ID=:id)").number("id", regId));
    while (!lines.EOF_()) {
        p.CurrentX = 0;
        p.Print(tax.mark(lines.Fields(QStringLiteral("DTL_NO")).toLong())
                    + Nz(lines.Fields(QStringLiteral("BCD_NM")), QString()).toString() + u'('
                    + Nz(lines.Fields(QStringLiteral("FMR_NM")), QString()).toString() + u')',
                false);
        const Variant qty = lines.Fields(QStringLiteral("QTY"));
        quantity += moneyOf(qty);
        printRight(p, field(amount(qty), 3) + QStringLiteral("ｹ") + field(amount(lines.Fields(QStringLiteral("AMT"))), 6));
        const Currency change = moneyOf(lines.Fields(QStringLiteral("D_PRC")));
        if (change != Currency()) {
            // A changed unit price: the price before, and what was added ([割増]) or taken off ([値引]).
            p.CurrentX = 567;
            p.Print(field(u'@' + amount(lines.Fields(QStringLiteral("O_PRC"))), 6), false);
            p.Print(change < Currency() ? QStringLiteral("[割増]") : QStringLiteral("[値引]"), false);
            p.Print(field(u'@' + Format::number(-change, QStringLiteral("#,##0")), 6));
        }
        p.CurrentY += 56.7;
        lines.MoveNext();
    }
    lines.Close();

    if (hasHead) {
        p.CurrentX = 0;
        p.CurrentY += 283.5;
        p.Print(QStringLiteral("合　計"), false);
        const QString count = field(quantity.toPlainText() + QStringLiteral(" 点"), 8);
        p.CurrentX = (kSlipWidth - p.TextWidth(count)) / 2;
        p.Print(count, false);
        const Variant total = head.Fields(QStringLiteral("AMT_SUM"));
        printRight(p, field(amount(total), 8));

        if (tax.invoice()) {
            printRates(p, tax, moneyOf(total));
        } else {
            // The tax contained in the tax-inclusive total, truncated to whole yen.
            const Currency contained = tax.rates(moneyOf(total)).value(0).tax;
            p.CurrentX = kTaxLabelX;
            p.Print(QStringLiteral("(内消費税 "), false);
            printRight(p, field(Format::number(contained, QStringLiteral("#,##0")) + u')', 8));
        }
        rule(p);
        p.CurrentY += 283.5;

        p.CurrentX = 0;
        p.Print(QStringLiteral("お預かり"), false);
        printRight(p, field(amount(head.Fields(QStringLiteral("RCV"))), 8));
        p.CurrentX = 0;
        p.Print(QStringLiteral("釣　銭"), false);
        printRight(p, field(amount(head.Fields(QStringLiteral("CHG"))), 8));
        rule(p);
    }
    head.Close();

    if (PrintCtrl::isTrue(gMst.get(), QStringLiteral("PRINT_OLD_DATE"))) {
        const QString line = RcptOldDateLine();
        if (!line.isEmpty())
            printLine(p, line);
    }
    if (PrintCtrl::isTrue(gMst.get(), QStringLiteral("PRINT_FWD")))
        for (const QString &line : RcptFlowerLines())
            if (!line.isEmpty())
                printLine(p, line);
    for (const char *key : {"RCPT_MSG1", "RCPT_MSG2", "RCPT_MSG3"}) {
        const QString message = PrintCtrl::text(gMst.get(), QString::fromLatin1(key));
        if (!message.isEmpty())
            printLine(p, message);
    }
    p.EndDoc();
    CutPaper();
}

// Throws away a receipt that failed half-way, so that a second attempt starts on a clean slip.
void discardPending()
{
    try {
        if (Printers::hasCurrent())
            Printer().KillDoc();
    } catch (...) {
    }
}

void showFailure(const QString &description, int number)
{
    MsgBoxEx(description + QStringLiteral("(%1)").arg(number), Msg::Exclamation, QStringLiteral("プリンタエラー"));
}

} // namespace

void SetDefPrinter()
{
    selectBySetting(QStringLiteral("DEF_PRINTER"), Printers::Role::Page, QStringLiteral("プリンタを規定に設定"));
}

void SetRcptPrinter()
{
    selectBySetting(QStringLiteral("DEF_RECEIPT"), Printers::Role::Receipt, QStringLiteral("プリンタをレシートに設定"));
}

void OpenDrawer()
{
    sendControl(QStringLiteral("A"));
}

void CutPaper()
{
    if (PrintCtrl::isTrue(gIni.get(), QStringLiteral("PAPER_CUT")))
        sendControl(QStringLiteral("P"));
}

void PrintRcpt(qint32 regId)
{
    WriteLog(QStringLiteral("精算レシート印刷"));
    SetAppTitle(QStringLiteral("レシート"));
    for (;;) {
        try {
            drawReceipt(regId);
            SetAppTitle(kProductTitle);
            return;
        } catch (const PrinterError &e) {
            discardPending();
            if (e.number() == 482) {
                const int answer = MsgBoxEx(QStringLiteral("プリンタが異常です。レシートを出力せずに精算を行いますか？"),
                                            Msg::YesNo | Msg::Exclamation);
                if (answer == Msg::No)
                    continue;
            } else {
                showFailure(e.description(), e.number());
            }
        } catch (const DbError &e) {
            discardPending();
            showFailure(e.description(), e.number());
        } catch (const ConversionError &e) {
            discardPending();
            showFailure(QString::fromStdString(e.what()), 13);
        } catch (const std::exception &e) {
            discardPending();
            showFailure(QString::fromStdString(e.what()), 5);
        }
        SetAppTitle(kProductTitle);
        return;
    }
}
