#pragma once

#include <QStringList>

// Master data of a small demo shop: thirty producers of an invented country town, a hundred products,
// three hundred registered barcodes, the sexagenary cycle and a birth flower for every day of the year.
// Used to fill an empty master database for demonstrations and tests; the content never changes between runs.
namespace DemoMasters {

// One INSERT statement per row, in this order: M_FMR, M_PRD, M_PRD_BCD, L_ETO, L_FWD. Texts are quoted with
// embedded quotes doubled, missing values are NULL, numbers plain decimal text.
QStringList masterInserts();

// In-store label codes (13 digits) that are not in M_PRD_BCD and decode to a product and a producer of the
// demo masters: positions 1-3 product, 4-7 producer, 8-11 price in tens of yen, 12 always 0, 13 the EAN-13
// check digit over the first twelve (the register ignores 12 and 13).
QStringList inStoreSampleCodes();

} // namespace DemoMasters
