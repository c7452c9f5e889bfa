#pragma once

#include <QDate>
#include <QDateTime>
#include <optional>

// Dates are doubles counting days since 1899-12-30, with the time of day as the fraction. Before that day the
// whole part counts backwards while the fraction still adds time (-1.25 is 1899-12-29 06:00).
namespace DateValue {

double fromQDate(const QDate &date);
double fromQDateTime(const QDateTime &dateTime);
double fromParts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

QDate toQDate(double value);
// Rounded to the nearest second, as the register stores and shows times.
QDateTime toQDateTime(double value);

// The whole day, time removed.
double dateOnly(double value);
// Weekday number, Sunday = 1 to Saturday = 7.
int weekday(double value);

// Reads "yyyy-mm-dd hh:nn:ss", "yyyy/mm/dd hh:nn:ss", either without the time, and with one-digit month or day.
std::optional<double> parse(const QString &text);

} // namespace DateValue
