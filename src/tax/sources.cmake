# Consumption tax for invoices: the shop's registration number, the rates of products, the tax of each sale
# kept with it (moved by the daily close) and a day's tax per rate. No screens: the list of products with
# their rates is in settings/.
set(TAX_CORE_SOURCES
  tax/DayTax.cpp
  tax/ProductRateImport.cpp
  tax/ProductRates.cpp
  tax/RegistrationNumber.cpp
  tax/SaleTax.cpp
  tax/SaleTaxRows.cpp
)
