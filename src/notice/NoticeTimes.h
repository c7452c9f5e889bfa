#pragma once

#include <QList>
#include <QString>
#include <optional>

// The times of the day at which producers are told their running sales ("10:00,12:00,14:00,16:00"), held as
// minutes after midnight in ascending order without repeats.
class NoticeTimes
{
public:
    NoticeTimes() = default;

    // Reads times written as H:MM or HH:MM, separated by commas, blanks or "、". An empty text is no times
    // (notices off); anything else that is not a time gives nothing.
    static std::optional<NoticeTimes> parse(const QString &text);

    // "10:00,12:00": the stored form.
    QString text() const;
    bool isEmpty() const { return m_slots.isEmpty(); }
    const QList<int> &minutes() const { return m_slots; }

    // The slot that is due at this minute of the day: the latest one not after it. Earlier slots of the day
    // are passed over (a machine that was off sends one notice, not one per missed slot); before the first
    // slot nothing is due.
    std::optional<int> dueAt(int minuteOfDay) const;

    // "12:00" for 720.
    static QString slotText(int minuteOfDay);

private:
    QList<int> m_slots;
};
