#pragma once

#include "base/Currency.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

class clsData;

// What the settings dialogs do with their values, apart from the controls: the unit conversions between
// what is stored and what the operator sees, the change-fund total, the largest sale number, and reading
// and writing a dialog's control values.
namespace SettingValues {

// Report margins are stored in twips and shown in centimetres (567 twips to the centimetre).
// "567" shows as "1.00", "850.5" as "1.50"; the display rounds half up to hundredths.
QString MarginForDisplay(const QString &storedTwips);
// The numeric reading of the typed centimetres times 567: "2" stores "1134", "1.5" stores "850.5".
QString MarginForStore(const QString &typedCentimetres);

// Tax and commission rates are stored as fractions and shown in percent: "0.08" shows as "8.0".
QString RateForDisplay(const QString &storedFraction);
// The numeric reading of the typed percent divided by 100, rounded half up to two decimals:
// "8" stores "0.08", "8.5" stores "0.09", "10" stores "0.1".
QString RateForStore(const QString &typedPercent);

// A typed percent the conversions take as it is meant: a number from 0 to 100 ("8", "8.5", "8.5%").
bool IsPercent(const QString &typed);

// Both directions leave an empty text empty, so a value never saved stays unsaved (Null) until typed.

// The commission rate in force (FEE_RT of the master): 15 % while none is stored. The payment closing
// charges it and 管理情報 shows it, so the operator sees what is charged.
Currency CommissionRate(clsData &master);

// The change fund's denominations, in the order of DEF_01 to DEF_10.
inline constexpr int Denominations[10] = {10000, 5000, 2000, 1000, 500, 100, 50, 10, 5, 1};
// Sum of the numeric reading of each count times its denomination (missing counts are 0).
Currency ChangeFundTotal(const QStringList &counts);

// The largest REG_ID of the open sales (D_REG); when there are none, of the closed ones (B_REG); else 0.
qint64 LargestRegId(clsData &db);

// A control value as the dialogs show it: Null and missing values as "".
QString CtrlText(clsData &data, const QString &key);

// Stores every key with SaveCtrl inside one transaction. When any store reports a failure, or the
// transaction cannot be begun or committed, everything is rolled back and the result is false.
bool SaveCtrlValues(clsData &data, const QList<std::pair<QString, QString>> &values);

} // namespace SettingValues
