#pragma once

#include <QStringList>

// The operator tool's commands. Each takes the arguments after its name and returns the exit code;
// results go to standard output, complaints to standard error.
int runInit(const QStringList &args);
int runSchema(const QStringList &args);
int runUpgrade(const QStringList &args);
int runOldCal(const QStringList &args);
int runBanks(const QStringList &args);
int runZengin(const QStringList &args);
int runStatement(const QStringList &args);
int runNotify(const QStringList &args);
int runRates(const QStringList &args);
int runTax(const QStringList &args);
