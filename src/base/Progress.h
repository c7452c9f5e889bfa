#pragma once

#include <QtGlobal>

// How far a long piece of work has come. The work reports between its steps; whoever started it decides
// how that is shown: a window on the register, a line on the terminal, or nothing. A report may let the
// window thread paint and take events, so the work reports only where nothing it holds can be disturbed
// by that (between its steps, never from inside a statement).
class Progress
{
public:
    virtual ~Progress() = default;
    // `done` of `total` steps; total 0 when the size of the work is not known.
    virtual void report(qint64 done, qint64 total) = 0;

    // Shows nothing: for work nobody watches (tests, benchmarks, work run before a screen exists).
    static Progress &none();
};
