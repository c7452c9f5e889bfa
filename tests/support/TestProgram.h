#pragma once

#include "base/Clock.h"
#include "base/MessagePresenter.h"

#include <QTemporaryDir>
#include <memory>

// A register's surroundings for one test: a temporary program folder (VANTLE_HOME), a fixed clock, a
// recording message presenter and a fresh log path. Everything is put back when it goes.
class TestProgram
{
public:
    // The fixed clock's time unless a test needs another: a Monday morning in the shop.
    static QDateTime morning() { return QDateTime(QDate(2024, 4, 1), QTime(9, 15, 2, 470)); }
    explicit TestProgram(const QDateTime &now = morning());
    ~TestProgram();
    // A program folder whose databases are made and open, as most tests begin.
    static std::unique_ptr<TestProgram> opened(bool demo = false, bool onServer = false,
                                               const QDateTime &now = morning());

    QString path(const QString &name) const { return m_dir.filePath(name); }
    FixedClock &clock() { return m_clock; }
    RecordingPresenter &messages() { return m_messages; }
    // The lines of the log file written so far.
    QStringList logLines() const;

    // Creates the program folder's databases (with demo masters when asked). With the server, INFO.MDB
    // points the transaction and master databases at the test server's two databases, emptied and created
    // anew.
    void createDatabases(bool demo = false, bool onServer = false);
    // gIni, gDb, gMst as the program creates them.
    void openAll();

    // The test server, when the test command started one: the ODBC data source, user and password come
    // from VANTLE_TEST_MARIADB_DSN, _USER, _PASSWORD; the databases are vantle_trn and vantle_mst. Where the
    // command requires it (VANTLE_TEST_SERVER_REQUIRED, set by scripts/with-test-server.sh) a server that
    // cannot be reached ends the test program with a failure; elsewhere its absence only skips.
    static bool serverAvailable();
    // The test server's database; given a port, the database reached on that port of 127.0.0.1 (a relay's).
    static QString serverConnectionText(const QString &database, quint16 port = 0);
    // The test server's port on 127.0.0.1.
    static quint16 serverPort();

private:
    QTemporaryDir m_dir;
    FixedClock m_clock;
    RecordingPresenter m_messages;
    QByteArray m_previousHome;
};
