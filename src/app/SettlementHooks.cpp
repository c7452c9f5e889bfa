#include "app/SettlementHooks.h"

namespace SettlementHooks {

std::function<long()> cancelDailyAdj;
std::function<void()> showSettlement;

} // namespace SettlementHooks
