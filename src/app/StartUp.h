#pragma once

#include <QString>
#include <functional>

class Progress;

// The decisions of a run's start and end, without any screen: which sales date is proposed, whether a
// chosen date may be rung up, and what closing the register leads to. The screens only show and ask.
namespace StartUp {

// The messages of the date choice.
inline const QString CloseFirst = QStringLiteral("締処理を行って下さい。");
inline const QString AlreadyPaid = QStringLiteral("精算済の日付です。設定できません。");
inline const QString AlreadyClosed = QStringLiteral("指定日は締済です。別な日を選んで下さい。");
inline const QString ReopenQuestion = QStringLiteral("指定日は締済です。集計処理を取り消しますか？");

// How the calendar screen was left.
enum class CalendarExit {
    Confirmed, // the chosen date is in gSalesDate
    Closed,    // closed another way: gSalesDate still holds the proposed date
    EndProgram // its exit button: the program ends at once
};

// Where the run goes once the date is settled.
enum class Screen { Register, Settlement, End };

// The register's own database files (SQLite) brought up to the indexes this version uses, once after an
// update; `progress` follows the work. A file that cannot be upgraded now is written to the log and used
// as it is. A server database is the operator's (vantle-admin upgrade).
void UpgradeDatabases(Progress &progress);
inline const QString UpgradeCaption = QStringLiteral("データベース更新中");

// The oldest sales date still in D_REG (the day waiting longest for its close), or today.
double ProposedSalesDate();

// What the transaction database says about a chosen day.
enum class DayState {
    Open,       // sales of the day are open, or no close exists on or after it
    LastClosed, // the last closed day, and reopening is allowed (DAILY_ADJ set)
    Refused     // paid, or closed and not to be reopened: `message` says why
};
struct DayCheck
{
    DayState state = DayState::Open;
    QString message;
};
DayCheck CheckSalesDate(double day);

// The date-choice loop: propose, warn when older sales wait for their close, let the calendar choose,
// check, and again until a day is accepted; a last closed day is offered for reopening (Yes reopens it
// through `reopen`, CancelDailyAdj of the day; No goes to the settlement screen). Every message goes
// through MsgBoxEx. A database failure is shown and the calendar is offered again.
Screen ChooseSalesDate(const std::function<CalendarExit()> &showCalendar, const std::function<long()> &reopen);
Screen ChooseSalesDate(const std::function<CalendarExit()> &showCalendar);

// Whether closing the register hands over to the settlement screen: daily closing in use (DAILY_ADJ) and
// sales in D_REG that are not closed yet.
bool SettlementTakesOver();
// The end of a run: the transaction database is closed, then its file is backed up, the copy telling
// `progress` how far it has come.
void CloseAndBackUp(Progress &progress);
// The same, then the application's event loop ends (closing the register or the settlement screen).
void EndRun(Progress &progress);

} // namespace StartUp
