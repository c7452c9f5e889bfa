set(SETTLEMENT_CORE_SOURCES
  settlement/AdjGrid.cpp
  settlement/ClosePrinting.cpp
  settlement/ClosingRules.cpp
  settlement/DailyClose.cpp
  settlement/PayCls.cpp
  settlement/SetCls.cpp
)
# The payment-date dialog lives with the settings dialogs but is listed here, with the close that opens it.
set(SETTLEMENT_UI_SOURCES
  settlement/frmAdj.cpp
  settings/fdlSetPayDate.cpp
)
