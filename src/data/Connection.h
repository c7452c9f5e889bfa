#pragma once

#include "data/Recordset.h"
#include "data/SqlDialect.h"

#include <QSqlDatabase>
#include <QString>
#include <memory>

// One open database connection, made from the connection text the settings store:
//  "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"path\";..." opens the SQLite file at that path;
//  "DSN=...;SERVER=...;DB=...;UID=...;PWD=...;" opens a MariaDB/MySQL database through ODBC.
// Statements are given in the register's SQL and rendered by the engine's dialect.
class Connection
{
public:
    enum class Engine { Sqlite, MariaDb };

    // Throws DbError with a description for the operator when the text is empty or the database cannot
    // be opened.
    static std::unique_ptr<Connection> open(const QString &connectionText);
    ~Connection();

    Engine engine() const { return m_engine; }
    const SqlDialect &dialect() const { return *m_dialect; }
    QSqlDatabase database() const;
    QString render(const QString &sql) const { return m_dialect->render(sql); }

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // A server connection the server dropped (it was restarted, the network was away) stays dead: every
    // statement fails. lost() tells such a connection (a trivial query fails), reopen() opens it again with
    // the same settings and returns whether it could; a file database is never lost. A read outside a
    // transaction that fails on a lost connection reopens it and reads once more by itself.
    bool lost();
    bool reopen();

    // Executes a statement that returns no rows and gives the number of rows it affected.
    long execute(const QString &sql);
    // Runs a query and reads all of its rows into a result set of the given kind.
    Recordset query(const QString &sql, Recordset::Kind kind);

    // Writes one row of a dynamic result set: an INSERT of the assigned fields, or an UPDATE of the changed
    // ones found by the table's key as it was read.
    void writeRow(const QString &table, const QStringList &names, const QList<Variant> &values,
                  const QList<bool> &changed, const QList<Variant> *original);

    // A value as an SQL literal of this engine.
    QString literal(const Variant &value) const;

    // Parses "key=value;key=\"value\";" into its pairs, keys compared without case.
    static QString textValue(const QString &connectionText, const QString &key);

private:
    Connection() = default;
    void openSqlite(const QString &connectionText);
    void openOdbc(const QString &connectionText);
    [[noreturn]] void fail(const QString &what, const QString &sql) const;
    void run(const QString &rendered, const QString &sql);
    void startSession();

    QString m_name;
    Engine m_engine = Engine::Sqlite;
    std::unique_ptr<SqlDialect> m_dialect;
    bool m_inTransaction = false;
};
