#include "app/StartUp.h"

#include "app/BackupDb.h"
#include "base/Clock.h"
#include "base/Common.h"
#include "base/DateValue.h"
#include "base/Format.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/SchemaUpgrade.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "settlement/SetCls.h"

#include <QCoreApplication>

namespace StartUp {

namespace {

QString salesDateIs(const QString &op, double day)
{
    return Sql(QStringLiteral("SALES_DATE") + op + QStringLiteral(":day")).date("day", day);
}

long countOf(const QString &domain, const QString &criteria = QString())
{
    return Nz(gDb->DCount(QStringLiteral("*"), domain, criteria), Variant(0)).toLong();
}

bool dailyAdjInUse()
{
    const Variant value = gIni->GetCtrl(QStringLiteral("DAILY_ADJ"));
    return Val(Nz(value, QString()).toString()) != 0;
}

void showFailure(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        MsgBoxEx(db->description(), Msg::Exclamation);
    else
        MsgBoxEx(QString::fromStdString(e.what()), Msg::Exclamation);
}

} // namespace

void UpgradeDatabases(Progress &progress)
{
    const struct { QString type, file; Schema::Store store; } databases[] = {
        {gIni->DB_TYPE(), gIni->DB_NAME(), Schema::Store::Transaction},
        {gIni->MST_TYPE(), gIni->MST_NAME(), Schema::Store::Master},
    };
    for (const auto &db : databases) {
        if (db.type != u"2" || db.file.isEmpty())
            continue;
        QStringList ran;
        const QString problem = SchemaUpgrade::upgradeFile(db.file, db.store, progress, &ran);
        for (const QString &statement : ran)
            WriteLog(QStringLiteral("データベース更新:") + db.file + u' ' + statement);
        if (!problem.isEmpty())
            WriteLog(QStringLiteral("データベース更新失敗:") + db.file + u' ' + problem);
    }
}

double ProposedSalesDate()
{
    const Variant oldest = gDb->DMin(QStringLiteral("SALES_DATE"), QStringLiteral("D_REG"));
    return oldest.isNull() ? Clock::Today() : DateValue::dateOnly(oldest.toDate());
}

DayCheck CheckSalesDate(double day)
{
    // A producer payment closing covers the day: its sales are paid out and can never change.
    if (!gDb->DMax(QStringLiteral("CLS_DATE"), QStringLiteral("D_ADJ_DTL"), salesDateIs(QStringLiteral("="), day)).isNull())
        return {DayState::Refused, AlreadyPaid};
    if (countOf(QStringLiteral("D_REG"), salesDateIs(QStringLiteral("="), day)) > 0)
        return {DayState::Open, QString()};
    if (countOf(QStringLiteral("D_ADJ"), salesDateIs(QStringLiteral(">="), day)) == 0)
        return {DayState::Open, QString()};
    if (countOf(QStringLiteral("D_ADJ"), salesDateIs(QStringLiteral(">"), day)) > 0)
        return {DayState::Refused, AlreadyClosed};
    // The day itself is the last closed one.
    if (!dailyAdjInUse())
        return {DayState::Refused, AlreadyClosed};
    return {DayState::LastClosed, QString()};
}

Screen ChooseSalesDate(const std::function<CalendarExit()> &showCalendar, const std::function<long()> &reopen)
{
    for (;;) {
        try {
            gSalesDate = ProposedSalesDate();
        } catch (const std::exception &e) {
            showFailure(e);
            gSalesDate = Clock::Today();
        }
        if (gSalesDate < Clock::Today())
            MsgBoxEx(CloseFirst, Msg::Exclamation);

        if (showCalendar() == CalendarExit::EndProgram)
            return Screen::End;

        DayCheck check;
        try {
            check = CheckSalesDate(gSalesDate);
        } catch (const std::exception &e) {
            showFailure(e); // the day cannot be judged: offer the calendar again
            continue;
        }
        if (check.state == DayState::Refused) {
            MsgBoxEx(check.message, Msg::Exclamation);
            continue;
        }
        if (check.state == DayState::Open)
            return Screen::Register;

        if (MsgBoxEx(ReopenQuestion, Msg::YesNo | Msg::DefaultButton2) != Msg::Yes)
            return Screen::Settlement;
        try {
            reopen();
        } catch (const std::exception &e) {
            // Nothing was undone (the undo is one transaction): the day is still closed.
            showFailure(e);
            continue;
        }
        return Screen::Register;
    }
}

Screen ChooseSalesDate(const std::function<CalendarExit()> &showCalendar)
{
    return ChooseSalesDate(showCalendar, [] { return CancelDailyAdj(); });
}

bool SettlementTakesOver()
{
    if (!gIni || !gDb)
        return false;
    return dailyAdjInUse() && countOf(QStringLiteral("D_REG")) > 0;
}

void CloseAndBackUp(Progress &progress)
{
    gDb.reset();
    BackupDb(progress);
}

void EndRun(Progress &progress)
{
    CloseAndBackUp(progress);
    QCoreApplication::quit();
}

} // namespace StartUp
