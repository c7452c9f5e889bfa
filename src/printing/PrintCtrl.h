#pragma once

#include "base/Currency.h"

#include <QString>

class clsData;

// Control values as the printing routines read them: a missing value (or a missing data object) is 0, off or
// empty text; a value that is not what it should be counts the same, so a bad setting never stops a receipt.
namespace PrintCtrl {

// The numeric reading of the value (Val of a text).
double number(clsData *data, const QString &key);
// The value as a truth value ("1", "True", -1 are true).
bool isTrue(clsData *data, const QString &key);
QString text(clsData *data, const QString &key);
Currency money(clsData *data, const QString &key);

} // namespace PrintCtrl
