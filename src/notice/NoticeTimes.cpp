#include "notice/NoticeTimes.h"

#include <QRegularExpression>
#include <algorithm>

std::optional<NoticeTimes> NoticeTimes::parse(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral(u"[,\\s、，]+"));
    static const QRegularExpression time(QStringLiteral(R"(^(\d{1,2}):(\d{2})$)"));
    NoticeTimes times;
    for (const QString &part : text.split(separators, Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = time.match(part);
        if (!m.hasMatch())
            return std::nullopt;
        const int hour = m.captured(1).toInt();
        const int minute = m.captured(2).toInt();
        if (hour > 23 || minute > 59)
            return std::nullopt;
        times.m_slots.append(hour * 60 + minute);
    }
    std::sort(times.m_slots.begin(), times.m_slots.end());
    times.m_slots.erase(std::unique(times.m_slots.begin(), times.m_slots.end()), times.m_slots.end());
    return times;
}

QString NoticeTimes::text() const
{
    QStringList parts;
    for (int slot : m_slots)
        parts << slotText(slot);
    return parts.join(u',');
}

std::optional<int> NoticeTimes::dueAt(int minuteOfDay) const
{
    std::optional<int> due;
    for (int slot : m_slots)
        if (slot <= minuteOfDay)
            due = slot;
    return due;
}

QString NoticeTimes::slotText(int minuteOfDay)
{
    return QStringLiteral("%1:%2").arg(minuteOfDay / 60).arg(minuteOfDay % 60, 2, 10, QLatin1Char('0'));
}
