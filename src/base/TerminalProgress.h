#pragma once

#include "base/Progress.h"

#include <QElapsedTimer>
#include <QPair>
#include <QString>
#include <cstdio>

// Progress of an operator's command as one line on the terminal ("caption  42%"), rewritten in place a few
// times a second and ended with a line break when the work is done. When the output is not a terminal (a
// file, a pipe, a script's log) nothing is written, so the command's own output stays clean.
class TerminalProgress : public Progress
{
public:
    explicit TerminalProgress(const QString &caption, FILE *out = stdout);
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress &) = delete;
    TerminalProgress &operator=(const TerminalProgress &) = delete;

    void report(qint64 done, qint64 total) override;
    // Ends the line (the destructor does it too); later reports start a new one.
    void finish();

    // Whether the stream is a terminal.
    static bool isTerminal(FILE *out);

private:
    void write(qint64 done, qint64 total);

    QString m_caption;
    FILE *m_out;
    bool m_enabled;
    bool m_shown = false;
    qint64 m_done = 0;
    qint64 m_total = 0;
    QPair<qint64, qint64> m_written; // done and total as the line shows them
    QElapsedTimer m_sinceWrite;
};
