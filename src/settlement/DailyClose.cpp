#include "settlement/DailyClose.h"

#include "base/Common.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "settlement/ClosePrinting.h"
#include "settlement/PayCls.h"
#include "settlement/SetCls.h"

namespace {

bool settingOn(const QString &key)
{
    const Variant v = gIni->GetCtrl(key);
    if (v.isNull() || v.isEmpty())
        return false;
    return (v.isNumeric() ? v.toDouble() : Val(v.toString())) != 0;
}

qint32 countOf(const QString &table, const QString &column, double day)
{
    return gDb->DCount(QStringLiteral("*"), table, Sql(column + QStringLiteral("=:day")).date("day", day)).toLong();
}

// Printing after the day is closed: a printer failure is told and the close goes on, so that a jammed
// printer never keeps the payment closing from running.
template <typename Work> void printing(Work &&work)
{
    try {
        work();
    } catch (const std::exception &e) {
        MsgBoxEx(QString::fromStdString(e.what()), Msg::Exclamation);
    }
}

} // namespace

DailyCloseResult RunDailyClose(const AdjGrid &grid, const std::function<void()> &askPayDate, Progress &payment)
{
    const double day = gSalesDate;
    if (countOf(QStringLiteral("D_ADJ"), QStringLiteral("SALES_DATE"), day) > 0) {
        MsgBoxEx(QString::fromUtf8(DailyCloseText::AlreadyClosed), Msg::Exclamation);
        return DailyCloseResult::Refused;
    }
    if (!SetCls(grid))
        return DailyCloseResult::Failed;
    MsgBoxEx(QString::fromUtf8(DailyCloseText::Finished), Msg::Information);

    if (settingOn(QStringLiteral("PRINT_DAILY_REPORT")) && countOf(QStringLiteral("D_ADJ"), QStringLiteral("SALES_DATE"), day) > 0)
        printing([day] { PrintDailyReportNow(day); });

    if (PayClsDue()) {
        if (askPayDate)
            askPayDate();
        if (!PayCls(payment)) {
            MsgBoxEx(QString::fromUtf8(DailyCloseText::PaymentFailed), Msg::Critical);
        } else if (settingOn(QStringLiteral("PRINT_BANK_TRN"))
                   && countOf(QStringLiteral("D_PAY"), QStringLiteral("CLS_DATE"), gClsDate) > 0) {
            printing([] { PrintBankTransferNow(gClsDate); });
        }
    }
    return DailyCloseResult::Closed;
}
