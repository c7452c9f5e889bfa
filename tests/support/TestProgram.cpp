#include "support/TestProgram.h"

#include "app/InitObj.h"
#include "base/Common.h"
#include "data/Connection.h"
#include "data/ConnectionText.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/Schema.h"
#include "data/SqlDialect.h"

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

namespace {

void rebuildServerDatabase(const QString &database, Schema::Store store, const QString &folder, bool demo)
{
    auto cnn = Connection::open(TestProgram::serverConnectionText(database));
    Recordset tables = cnn->query(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES "
                                                 "WHERE TABLE_SCHEMA=DATABASE()"),
                                  Recordset::Kind::ForwardOnly);
    for (; !tables.EOF_(); tables.MoveNext())
        cnn->execute(QStringLiteral("DROP TABLE ") + tables.Fields(0).toString());
    for (const QString &ddl : Schema::createStatements(store, Schema::Engine::MariaDb))
        cnn->execute(ddl);
    for (const QString &row : ProgramFolder::initialRows(store, folder, demo))
        cnn->execute(row);
}

void pointAtServer(const QString &infoPath, const QString &prefix, const QString &database)
{
    auto cnn = Connection::open(ConnectionText::file(infoPath, QString(), QString(), QString()));
    const auto set = [&](const QString &key, const QString &value) {
        cnn->execute(QStringLiteral("DELETE FROM S_CTRL WHERE CTRL_CD=") + SqlDialect::text(prefix + key));
        cnn->execute(QStringLiteral("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE) VALUES (%1, %2)")
                         .arg(SqlDialect::text(prefix + key), SqlDialect::text(value)));
    };
    set(QStringLiteral("_TYPE"), QStringLiteral("1"));
    set(QStringLiteral("_DSN"), qEnvironmentVariable("VANTLE_TEST_MARIADB_DSN"));
    set(QStringLiteral("_NAME"), database);
    set(QStringLiteral("_USER"), qEnvironmentVariable("VANTLE_TEST_MARIADB_USER"));
    set(QStringLiteral("_PSWD"), qEnvironmentVariable("VANTLE_TEST_MARIADB_PASSWORD"));
}

} // namespace

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

void TestProgram::createDatabases(bool demo, bool onServer)
{
    // The folder exists already and holds nothing yet, which the creation accepts.
    const QString problem = ProgramFolder::create(m_dir.path(), demo);
    if (!problem.isEmpty())
        throw std::runtime_error(problem.toStdString());
    if (!onServer)
        return;
    rebuildServerDatabase(QStringLiteral("vantle_trn"), Schema::Store::Transaction, m_dir.path(), demo);
    rebuildServerDatabase(QStringLiteral("vantle_mst"), Schema::Store::Master, m_dir.path(), demo);
    pointAtServer(path(QStringLiteral("INFO.MDB")), QStringLiteral("DB"), QStringLiteral("vantle_trn"));
    pointAtServer(path(QStringLiteral("INFO.MDB")), QStringLiteral("MST"), QStringLiteral("vantle_mst"));
}

void TestProgram::openAll()
{
    InitObj();
}
