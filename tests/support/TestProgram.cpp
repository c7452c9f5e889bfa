#include "support/TestProgram.h"

#include "app/InitObj.h"
#include "base/Common.h"
#include "data/Connection.h"
#include "data/ConnectionText.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/Schema.h"
#include "data/clsINI.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <stdexcept>

TestProgram::TestProgram(const QDateTime &now) : m_clock(now)
{
    m_previousHome = qgetenv("VANTLE_HOME");
    qputenv("VANTLE_HOME", m_dir.path().toUtf8());
    gLogPath.clear();
    Clock::install(&m_clock);
    MessagePresenter::install(&m_messages);
}

TestProgram::~TestProgram()
{
    ReleaseObj();
    MessagePresenter::install(nullptr);
    Clock::install(nullptr);
    gLogPath.clear();
    if (m_previousHome.isEmpty())
        qunsetenv("VANTLE_HOME");
    else
        qputenv("VANTLE_HOME", m_previousHome);
}

QStringList TestProgram::logLines() const
{
    QFile file(gLogPath);
    if (gLogPath.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

bool TestProgram::serverAvailable()
{
    const bool configured = !qEnvironmentVariableIsEmpty("VANTLE_TEST_MARIADB_DSN");
    // Under scripts/with-test-server.sh the server's tests are part of the run: one that cannot reach the
    // server fails the test instead of skipping its half.
    static const bool required = qEnvironmentVariableIsSet("VANTLE_TEST_SERVER_REQUIRED") && [] {
        try {
            Connection::open(serverConnectionText(QStringLiteral("vantle_trn")));
        } catch (const std::exception &e) {
            qFatal("the MariaDB test server is required but cannot be reached: %s", e.what());
        }
        return true;
    }();
    return configured || required;
}

QString TestProgram::serverConnectionText(const QString &database, quint16 port)
{
    const QString text = ConnectionText::server(port ? QString() : qEnvironmentVariable("VANTLE_TEST_MARIADB_DSN"),
                                                port ? QStringLiteral("127.0.0.1") : QString(), database,
                                                qEnvironmentVariable("VANTLE_TEST_MARIADB_USER"),
                                                qEnvironmentVariable("VANTLE_TEST_MARIADB_PASSWORD"));
    return port ? text + QStringLiteral("PORT=%1;").arg(port) : text;
}

quint16 TestProgram::serverPort()
{
    // The data source of scripts/with-test-server.sh names the port.
    QFile ini(qEnvironmentVariable("ODBCINI"));
    if (!ini.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression port(QStringLiteral(R"(^PORT\s*=\s*(\d+))"),
                                         QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    return quint16(port.match(QString::fromUtf8(ini.readAll())).captured(1).toUInt());
}

std::unique_ptr<TestProgram> TestProgram::opened(bool demo, bool onServer, const QDateTime &now)
{
    auto program = std::make_unique<TestProgram>(now);
    program->createDatabases(demo, onServer);
    program->openAll();
    return program;
}

void TestProgram::createDatabases(bool demo, bool onServer)
{
    // The folder exists already and holds nothing yet, which the creation accepts.
    const QString problem = ProgramFolder::create(m_dir.path(), demo);
    if (!problem.isEmpty())
        throw std::runtime_error(problem.toStdString());
    if (!onServer)
        return;
    // The server's two databases are emptied and created anew, and INFO.MDB points at them.
    const struct { const char *prefix, *database; Schema::Store store; } stores[] = {
        {"DB_", "vantle_trn", Schema::Store::Transaction}, {"MST_", "vantle_mst", Schema::Store::Master}};
    clsINI info;
    for (const auto &s : stores) {
        const QString database = QString::fromLatin1(s.database);
        auto cnn = Connection::open(serverConnectionText(database));
        Recordset tables = cnn->query(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES "
                                                     "WHERE TABLE_SCHEMA=DATABASE()"), Recordset::Kind::ForwardOnly);
        for (; !tables.EOF_(); tables.MoveNext())
            cnn->execute(QStringLiteral("DROP TABLE ") + tables.Fields(0).toString());
        for (const QString &statement : Schema::createStatements(s.store, Schema::Engine::MariaDb)
                                            + ProgramFolder::initialRows(s.store, m_dir.path(), demo))
            cnn->execute(statement);
        const QString prefix = QString::fromLatin1(s.prefix);
        info.SaveCtrl(prefix + QStringLiteral("TYPE"), Variant(QStringLiteral("1")));
        info.SaveCtrl(prefix + QStringLiteral("DSN"), Variant(qEnvironmentVariable("VANTLE_TEST_MARIADB_DSN")));
        info.SaveCtrl(prefix + QStringLiteral("NAME"), Variant(database));
        info.SaveCtrl(prefix + QStringLiteral("USER"), Variant(qEnvironmentVariable("VANTLE_TEST_MARIADB_USER")));
        info.SaveCtrl(prefix + QStringLiteral("PSWD"), Variant(qEnvironmentVariable("VANTLE_TEST_MARIADB_PASSWORD")));
    }
}

void TestProgram::openAll()
{
    InitObj();
}
