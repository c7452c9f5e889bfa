#pragma once

#include "base/Progress.h"

#include <functional>

class AdjGrid;

// The close of the sales day gSalesDate as the settlement screen's confirmation runs it: the closing
// transaction, the daily report, and when a producer closing date has come the payment closing with its
// transfer request. Every step tells the operator what happened.
enum class DailyCloseResult {
    Refused, // the day was closed already: nothing written, the screen closes
    Failed,  // the closing failed and was rolled back: the screen stays on its question
    Closed,  // the day is closed (printing or payment closing may have failed, each told to the operator)
};

// askPayDate shows the payment-date dialog (it may change gPayDate); the payment closing runs afterwards
// whatever the operator did there, telling `payment` how far it has come.
DailyCloseResult RunDailyClose(const AdjGrid &grid, const std::function<void()> &askPayDate,
                               Progress &payment = Progress::none());

// Messages of the close.
namespace DailyCloseText {
inline const char *const AlreadyClosed = "当日締データは既に登録されています。\r\n締データを取り消して再登録してください。";
inline const char *const Finished = "締処理を終了しました。";
// Nothing of the payment closing was kept: its sales wait unpaid, and the next daily close tries the same
// period again (it may fail again for the same reason, so nothing more is promised).
inline const char *const PaymentFailed =
    "支払締処理に失敗しました。売上は未精算のまま残ります。\r\n次回の日次締処理で支払締をもう一度試みます。";
} // namespace DailyCloseText
