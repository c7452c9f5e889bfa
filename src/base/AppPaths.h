#pragma once

#include <QString>

// The program folder holds INFO.MDB, the log and the price-tag program. It is the folder of the running
// program unless VANTLE_HOME names another (the demo and the tests use that).
namespace AppPaths {

QString programFolder();
// The running program's file name without folder and extension ("vantle").
QString programName();
// A name in the program folder.
QString inProgramFolder(const QString &name);

} // namespace AppPaths
