#include "Commands.h"

#include <cstdio>

int runOldCal(const QStringList &)
{
    std::fputs("oldcal: not available yet\n", stderr);
    return 2;
}
