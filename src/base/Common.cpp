#include "base/Common.h"

#include "base/AppPaths.h"
#include "base/Clock.h"
#include "base/Format.h"
#include "base/Int128.h"

#include <QFile>
#include <QSysInfo>
#include <cmath>
#include <exception>

namespace {

QString buttonTag(int flags)
{
    switch (flags & 7) {
    case Msg::OKCancel: return QStringLiteral("[OK-CANCEL]");
    case Msg::AbortRetryIgnore: return QStringLiteral("[ABORT-RETRY-IGNORE]");
    case Msg::YesNoCancel: return QStringLiteral("[YES-NO-CANCEL]");
    case Msg::YesNo: return QStringLiteral("[YES-NO]");
    case Msg::RetryCancel: return QStringLiteral("[RETRY-CANCEL]");
    case Msg::OKOnly: return QStringLiteral("[OK]");
    default: return QString();
    }
}

QString iconTag(int flags)
{
    switch (flags & 0x70) {
    case Msg::Critical: return QStringLiteral("[警告]");
    case Msg::Question: return QStringLiteral("[問い合わせ]");
    case Msg::Exclamation: return QStringLiteral("[注意]");
    case Msg::Information: return QStringLiteral("[情報]");
    default: return QString();
    }
}

QString answerTag(int flags, int answer)
{
    if (!Msg::answersOf(flags).contains(answer) || (flags & 7) == Msg::OKOnly || (flags & 7) > 5)
        return QString();
    switch (answer) {
    case Msg::OK: return QStringLiteral("[OK]");
    case Msg::Cancel: return QStringLiteral("[CANCEL]");
    case Msg::Abort: return QStringLiteral("[ABORT]");
    case Msg::Retry: return QStringLiteral("[RETRY]");
    case Msg::Ignore: return QStringLiteral("[IGNORE]");
    case Msg::Yes: return QStringLiteral("[YES]");
    case Msg::No: return QStringLiteral("[NO]");
    default: return QString();
    }
}

} // namespace

QString gLogPath;

QString MsgLogText(const QString &prompt, int flags, const QString &title, int answer)
{
    const QString icon = iconTag(flags);
    const QString kind = icon.isEmpty() ? buttonTag(flags) : icon;
    return title + kind + prompt + answerTag(flags, answer);
}

int MsgBoxEx(QString &prompt, int flags, QString &title)
{
    if (title.isEmpty())
        title = kProductTitle;
    int answer = 0;
    try {
        MessagePresenter *presenter = MessagePresenter::instance();
        answer = presenter ? presenter->ask(prompt, flags, title) : Msg::defaultAnswer(flags);
    } catch (...) {
        // A message that cannot be shown is still logged; the caller gets no answer.
    }
    WriteLog(MsgLogText(prompt, flags, title, answer));
    return answer;
}

int MsgBoxEx(const QString &prompt, int flags, const QString &title)
{
    QString p = prompt;
    QString t = title;
    return MsgBoxEx(p, flags, t);
}

QString LogLineHead(double now, double timer)
{
    const double fraction = timer - std::floor(timer);
    return Format::date(now, QStringLiteral("yyyy/mm/dd hh:nn:ss"))
        + Format::number(Currency::fromDouble(fraction), QStringLiteral(".00 "));
}

void WriteLog(const QString &text)
{
    try {
        if (gLogPath.isEmpty())
            gLogPath = AppPaths::inProgramFolder(AppPaths::programName() + QStringLiteral(".log"));
        const QString line = LogLineHead(Clock::Now(), Clock::Timer()) + text + QStringLiteral("\r\n");
        QFile file(gLogPath);
        if (file.open(QIODevice::Append | QIODevice::WriteOnly))
            file.write(line.toUtf8());
    } catch (const std::exception &) {
        // The log never stops the register.
    }
}

Currency RoundOff(const Variant &value, int mode, int digits)
{
    if (value.isNull() || value.isEmpty())
        return Currency();
    // Exact decimal: the value as currency carries four decimals; shifting by `digits` happens on the
    // 128-bit raw value so no binary fraction creeps in.
    const Currency c = value.toCurrency();
    const bool negative = c.raw() < 0;
    Int128 magnitude = negative ? -Int128(c.raw()) : Int128(c.raw());
    // Scale so that one unit is 10^-digits: raw has 4 decimals.
    Int128 unit = 1;
    const int shift = 4 - digits;
    for (int k = 0; k < std::abs(shift); ++k)
        unit *= 10;
    Int128 result;
    if (shift <= 0) {
        result = magnitude * unit; // already exact at that precision: no rounding to do
        result /= unit;
    } else {
        const Int128 whole = magnitude / unit;
        const Int128 rest = magnitude % unit;
        if (mode == 1)
            result = whole;
        else if (mode == 2)
            result = whole + (rest != 0 ? 1 : 0);
        else
            result = whole + (rest * 2 >= unit ? 1 : 0);
        result *= unit;
    }
    const int64_t raw = static_cast<int64_t>(negative ? -result : result);
    return Currency::fromRaw(raw);
}

QString GetCompName()
{
    const QString name = QSysInfo::machineHostName();
    // The name came back through a buffer of sixteen characters: a longer one left no terminator there.
    return name.size() <= 15 ? name : QString();
}
