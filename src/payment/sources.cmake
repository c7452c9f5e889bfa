# Paying the producers through the bank: the bank master and the producers' codes, the shop's account, the
# banks' transfer file and the payment statement. Rules use data and printing below them; the screens are
# opened by the calendar and the settings above.
set(PAYMENT_CORE_SOURCES
  payment/BankImport.cpp
  payment/BankMaster.cpp
  payment/BankMatch.cpp
  payment/PayStatement.cpp
  payment/PayStatementForm.cpp
  payment/ShopAccount.cpp
  payment/TransferFile.cpp
  payment/ZenginCodeData.cpp
  payment/ZenginKana.cpp
  payment/ZenginRecord.cpp
)
set(PAYMENT_UI_SOURCES
  payment/fdlPayStatement.cpp
  payment/fdlZengin.cpp
)
