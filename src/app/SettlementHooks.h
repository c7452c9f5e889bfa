#pragma once

#include <functional>

// The settlement screen's two services that the start and the end of a run need. The program fills them
// when it starts; while one is empty the run goes on without it (see StartUp).
namespace SettlementHooks {

// Undoes the close of gSalesDate (its sales back in D_REG/D_REG_DTL, its settlement rows deleted) and
// returns the total of the affected rows. Throws when it fails; nothing is then changed.
extern std::function<long()> cancelDailyAdj;
// Shows the settlement screen for gSalesDate as the run's window.
extern std::function<void()> showSettlement;

} // namespace SettlementHooks
