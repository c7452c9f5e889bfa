#include "base/TerminalProgress.h"

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

// A terminal redraws a line a few times a second at most; more is only cost.
constexpr qint64 kRedrawMs = 200;

} // namespace

TerminalProgress::TerminalProgress(const QString &caption, FILE *out)
    : m_caption(caption), m_out(out), m_enabled(isTerminal(out))
{
}

TerminalProgress::~TerminalProgress()
{
    finish();
}

bool TerminalProgress::isTerminal(FILE *out)
{
    return out && isatty(fileno(out)) != 0;
}

void TerminalProgress::report(qint64 done, qint64 total)
{
    m_done = done;
    m_total = total;
    if (!m_enabled)
        return;
    if (m_shown && m_sinceWrite.elapsed() < kRedrawMs && done < total)
        return;
    write(done, total);
}

void TerminalProgress::write(qint64 done, qint64 total)
{
    QString line = m_caption + QStringLiteral("  ");
    if (total > 0)
        line += QStringLiteral("%1%").arg(int(qMin<qint64>(done, total) * 100 / total), 3);
    else
        line += QString::number(done);
    // "\r" back to the start of the line, "\033[K" clears what a longer line left behind.
    std::fprintf(m_out, "\r%s\033[K", line.toLocal8Bit().constData());
    std::fflush(m_out);
    m_shown = true;
    m_written = {done, total};
    m_sinceWrite.start();
}

void TerminalProgress::finish()
{
    if (!m_shown)
        return;
    if (m_written != qMakePair(m_done, m_total))
        write(m_done, m_total); // the last state as it was, also of work that stopped half-way
    std::fputc('\n', m_out);
    std::fflush(m_out);
    m_shown = false;
}
