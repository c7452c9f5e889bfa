#include "base/DateValue.h"

#include <QRegularExpression>
#include <cmath>

namespace {

const QDate &epoch()
{
    static const QDate day(1899, 12, 30);
    return day;
}

} // namespace

namespace DateValue {

double fromQDate(const QDate &date)
{
    return double(epoch().daysTo(date));
}

double fromQDateTime(const QDateTime &dateTime)
{
    const double day = fromQDate(dateTime.date());
    const double time = dateTime.time().msecsSinceStartOfDay() / 86400000.0;
    return day < 0 ? day - time : day + time;
}

double fromParts(int year, int month, int day, int hour, int minute, int second)
{
    return fromQDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

QDate toQDate(double value)
{
    return epoch().addDays(static_cast<qint64>(std::trunc(value)));
}

QDateTime toQDateTime(double value)
{
    const double whole = std::trunc(value);
    const qint64 seconds = std::llround(std::fabs(value - whole) * 86400.0);
    QDateTime result(epoch().addDays(static_cast<qint64>(whole)), QTime(0, 0));
    return result.addSecs(seconds);
}

double dateOnly(double value)
{
    return std::trunc(value);
}

int weekday(double value)
{
    // 1899-12-30 was a Saturday.
    const qint64 day = static_cast<qint64>(std::trunc(value));
    const qint64 index = ((day % 7) + 7 + 6) % 7; // 0 = Sunday
    return int(index) + 1;
}

std::optional<double> parse(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(\d{4})[-/](\d{1,2})[-/](\d{1,2})(?:[ T]+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return fromQDateTime(QDateTime(date, time));
}

} // namespace DateValue
