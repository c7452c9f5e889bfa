#pragma once

#include "base/Currency.h"
#include "base/Variant.h"

#include <QString>

// The display and SQL formats of the register, with their rules of old:
//  numbers: "#,##0", "0", "0.0", "0.00", ".00 " and the like; literal text before and after the digits is
//           kept; rounding is half away from zero; without a "0" before the point a zero whole part is left out.
//  dates:   yyyy yy m mm d dd h hh n nn s ss (an "m" right after an hour means minutes), aaa aaaa (Japanese
//           weekday), ggg gg g (era name, its first character, its letter), e ee (year of the era), other
//           characters as they are, "quoted" or \escaped text literally.
namespace Format {

QString number(Currency value, const QString &pattern);
QString date(double value, const QString &pattern);
// A date pattern for a date or date-typed value, a number pattern for everything else; Null and Empty give "".
QString value(const Variant &value, const QString &pattern);

// The Japanese era of a day: name (明治 大正 昭和 平成 令和), letter (M T S H R) and year of the era.
// Days before 1868 have no era: an empty name and the Gregorian year.
struct Era { QString name; QString letter; int year; };
Era eraOf(const QDate &date);

} // namespace Format
