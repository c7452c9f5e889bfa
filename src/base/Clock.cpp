#include "base/Clock.h"

#include "base/DateValue.h"

namespace {

const Clock *g_installed = nullptr;

} // namespace

const Clock &Clock::instance()
{
    static const SystemClock system;
    return g_installed ? *g_installed : system;
}

void Clock::install(const Clock *clock)
{
    g_installed = clock;
}

double Clock::Now()
{
    const QDateTime now = instance().currentDateTime();
    // Whole seconds, as the register has always stored times.
    return DateValue::fromQDateTime(QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(),
                                                                now.time().second())));
}

double Clock::Today()
{
    return DateValue::fromQDate(instance().currentDateTime().date());
}

double Clock::Timer()
{
    return instance().currentDateTime().time().msecsSinceStartOfDay() / 1000.0;
}
