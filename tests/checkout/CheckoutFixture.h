#pragma once

#include "checkout/SaleState.h"
#include "support/Rows.h"

// Masters and sales the checkout tests share. The names carry quotes and Japanese text on purpose: they
// must reach the database and the screen unchanged.
namespace CheckoutFixture {

using Rows::count;
using Rows::money;

inline const QString kTomato = QStringLiteral("4901234567894");     // 298 yen, unit 2, producer 45
inline const QString kHerb = QStringLiteral("4909876543210");       // 150 yen, producer 7
inline const QString kNoName = QStringLiteral("4900000000017");     // a master row without a name
inline const QString kShadowed = QStringLiteral("1230045012034");   // in the master, and a valid in-store code
inline const QString kInStore = QStringLiteral("1230045012099");    // product 123, producer 45, 1200 yen

inline const QString kTomatoName = QStringLiteral("完熟トマト 'Momotaro'");
inline const QString kHerbName = QStringLiteral("O'Brien's ハーブ");
inline const QString kFarm45 = QStringLiteral("山田農園");
inline const QString kFarm7 = QStringLiteral("D'Arcy 農場");

// Fills the master database (gMst) with the products, producers and barcodes above.
void insertMasters();

// A stored line as the register builds it: a master article at its price times the quantity.
DtlRec line(qint32 no, const QString &name, const QString &farm, const char *price, const char *qty);

} // namespace CheckoutFixture
