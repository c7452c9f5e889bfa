#pragma once

#include "support/TestProgram.h"

#include <QApplication>
#include <QFont>
#include <QTest>

// Runs a test class once on the SQLite files and once on the MariaDB test server: the class takes a bool, true
// for the server. Without a configured server the second run is skipped with a line that says so; under
// scripts/with-test-server.sh a server that cannot be reached fails the program instead (TestProgram).
template <typename TestClass> int runOnBothEngines(int argc, char *argv[])
{
    int failures = 0;
    {
        TestClass onFile(false);
        failures += QTest::qExec(&onFile, argc, argv);
    }
    if (TestProgram::serverAvailable()) {
        TestClass onServer(true);
        failures += QTest::qExec(&onServer, argc, argv);
    } else {
        qInfo("MariaDB test server not configured (VANTLE_TEST_MARIADB_DSN): server half skipped");
    }
    return failures;
}

// The main of a test program whose class runs on both engines: widgets available, the screens' font as in the
// program.
#define VANTLE_TEST_BOTH_ENGINES(TestClass)                                                                            \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        app.setFont(QFont(QStringLiteral("IPAexGothic"), 11));                                                         \
        return runOnBothEngines<TestClass>(argc, argv);                                                                \
    }
