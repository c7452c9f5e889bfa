#pragma once

#include <QDateTime>

// Where "now" and "today" come from. The program uses the system clock; tests install a fixed one.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime currentDateTime() const = 0;

    // The clock in use (the system clock unless a test installed another one).
    static const Clock &instance();
    // Installs a clock; nullptr restores the system clock. The caller keeps ownership.
    static void install(const Clock *clock);

    // The current moment and day as date values (days since 1899-12-30), and the seconds since midnight
    // with their fraction.
    static double Now();
    static double Today();
    static double Timer();
};

class SystemClock : public Clock
{
public:
    QDateTime currentDateTime() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until it is moved.
class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDateTime &at) : m_at(at) {}
    QDateTime currentDateTime() const override { return m_at; }
    void set(const QDateTime &at) { m_at = at; }
    void advanceDays(int days) { m_at = m_at.addDays(days); }
    void advanceMSecs(qint64 msecs) { m_at = m_at.addMSecs(msecs); }

private:
    QDateTime m_at;
};
