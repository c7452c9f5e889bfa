#include "Commands.h"

#include "app/InitObj.h"
#include "base/DateValue.h"
#include "base/MessagePresenter.h"
#include "calendar/DayInfo.h"
#include "calendar/DayText.h"
#include "calendar/modOldCal.h"
#include "data/Globals.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>

#include <array>
#include <cstdio>
#include <optional>
#include <string>

// vantle-admin oldcal FROM [TO] [--text]
// One line per civil date from FROM to TO inclusive:
//   YYYY-MM-DD <TAB> lunar year <TAB> leap (0|1) <TAB> lunar month <TAB> lunar day <TAB> six-day index <TAB> eto number
// With --text:
//   YYYY-MM-DD <TAB> the receipt's day-information line
// whose sexagenary name comes from the master database of the program folder named by VANTLE_HOME; without
// that folder (or without its INFO.MDB) the name is left empty.

namespace {

const char kUsage[] = "usage: vantle-admin oldcal FROM [TO] [--text]   (dates as YYYY-MM-DD, FROM not after TO)\n";

void complain(const QString &message)
{
    std::fprintf(stderr, "oldcal: %s\n%s", qPrintable(message), kUsage);
}

std::optional<QDate> parseDay(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2})$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate day(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!day.isValid())
        return std::nullopt;
    return day;
}

// Collects the output and writes it in large blocks: a range of two centuries is some 70,000 lines.
class OutputBuffer
{
public:
    OutputBuffer() { m_text.reserve(kBlock + 256); }

    void append(const char *line, int length)
    {
        m_text.append(line, std::size_t(length));
        if (m_text.size() >= kBlock)
            flush();
    }

    // False when standard output could not take the text (a full disk, a closed file).
    bool flush()
    {
        if (!m_text.empty() && std::fwrite(m_text.data(), 1, m_text.size(), stdout) != m_text.size())
            m_ok = false;
        m_text.clear();
        return m_ok && std::fflush(stdout) == 0;
    }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    std::string m_text;
    bool m_ok = true;
};

void printDay(OutputBuffer &out, const QDate &day)
{
    const double date = DateValue::fromQDate(day);
    const OldCalDate lunar = CalcOldCal(date);
    char line[96];
    const int length = std::snprintf(line, sizeof line, "%04d-%02d-%02d\t%d\t%d\t%d\t%d\t%d\t%d\n", day.year(),
                                     day.month(), day.day(), lunar.year, lunar.leap ? 1 : 0, lunar.month, lunar.day,
                                     RokuyoNo(lunar), EtoNo(date));
    out.append(line, length);
}

// The sexagenary names of the program folder's master database, opened as the register opens it. Nothing here
// may wait for an operator: messages are recorded and repeated on stderr, and a database that cannot be opened
// leaves the names empty instead of ending the command.
class EtoNames
{
public:
    EtoNames()
    {
        if (qEnvironmentVariableIsEmpty("VANTLE_HOME"))
            return;
        if (!QFileInfo::exists(clsINI::FilePath())) {
            std::fprintf(stderr, "oldcal: %s does not exist; the sexagenary names are left empty\n",
                         qPrintable(clsINI::FilePath()));
            return;
        }
        MessagePresenter::install(&m_messages);
        try {
            InitObj();
        } catch (const std::exception &e) {
            std::fprintf(stderr, "oldcal: %s\n", e.what());
        }
        for (const QString &prompt : m_messages.prompts())
            std::fprintf(stderr, "oldcal: %s\n", qPrintable(prompt));
        m_open = gMst && gMst->isOpen();
        if (!m_open) {
            ReleaseObj();
            std::fputs("oldcal: the master database could not be opened; the sexagenary names are left empty\n",
                       stderr);
        }
    }

    ~EtoNames()
    {
        ReleaseObj();
        MessagePresenter::install(nullptr);
    }

    EtoNames(const EtoNames &) = delete;
    EtoNames &operator=(const EtoNames &) = delete;

    // The name of the day; each of the sixty is read once.
    QString of(double date)
    {
        if (!m_open)
            return QString();
        std::optional<QString> &name = m_names[std::size_t(EtoNo(date))];
        if (!name)
            name = GetEto(date);
        return *name;
    }

private:
    RecordingPresenter m_messages;
    bool m_open = false;
    std::array<std::optional<QString>, 61> m_names;
};

void printText(OutputBuffer &out, const QDate &day, EtoNames &names)
{
    const double date = DateValue::fromQDate(day);
    const QByteArray line = (day.toString(Qt::ISODate) + u'\t' + TodayText(CalcOldCal(date), names.of(date))
                             + u'\n').toUtf8();
    out.append(line.constData(), int(line.size()));
}

} // namespace

int runOldCal(const QStringList &allArgs)
{
    QStringList args;
    bool text = false;
    for (const QString &arg : allArgs) {
        if (arg == u"--text") {
            text = true;
        } else if (arg.size() > 1 && arg.startsWith(QLatin1Char('-'))) {
            complain(QStringLiteral("unknown option %1").arg(arg));
            return 2;
        } else {
            args.append(arg);
        }
    }
    if (args.isEmpty() || args.size() > 2) {
        complain(args.isEmpty() ? QStringLiteral("a date is needed") : QStringLiteral("too many arguments"));
        return 2;
    }

    const std::optional<QDate> from = parseDay(args.at(0));
    const std::optional<QDate> to = args.size() > 1 ? parseDay(args.at(1)) : from;
    if (!from || !to) {
        complain(QStringLiteral("not a date: %1").arg(from ? args.at(1) : args.at(0)));
        return 2;
    }
    if (*from > *to) {
        complain(QStringLiteral("%1 is after %2").arg(args.at(0), args.at(1)));
        return 2;
    }

    OutputBuffer out;
    if (text) {
        EtoNames names;
        for (QDate day = *from; day <= *to; day = day.addDays(1))
            printText(out, day, names);
    } else {
        for (QDate day = *from; day <= *to; day = day.addDays(1))
            printDay(out, day);
    }
    if (!out.flush()) {
        std::fputs("oldcal: could not write the output\n", stderr);
        return 1;
    }
    return 0;
}
