#include "data/SchemaUpgrade.h"

#include "base/Progress.h"
#include "data/Connection.h"

#include <QFile>
#include <sqlite3.h>

namespace SchemaUpgrade {
namespace {

// SQLite's virtual machine calls back after this many instructions: a few times a second while an index
// is built, so a window can paint and take its events.
constexpr int kInstructionsPerTick = 100000;

bool containsName(const QStringList &names, const QString &name)
{
    return names.contains(name, Qt::CaseInsensitive);
}

QStringList columnOf(Connection &cnn, const QString &sql)
{
    QStringList values;
    for (Recordset rs = cnn.query(sql, Recordset::Kind::ForwardOnly); !rs.EOF_(); rs.MoveNext())
        values << rs.Fields(0).toString();
    return values;
}

// An own connection to an SQLite file, with the progress of the statement it runs.
class SqliteFile
{
public:
    ~SqliteFile() { sqlite3_close_v2(m_db); }

    QString open(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            return problem();
        // Another register that writes at the moment is waited for, as the register's own connection does.
        sqlite3_busy_timeout(m_db, 10000);
        return QString();
    }

    QStringList column(const char *sql, QString &failure)
    {
        QStringList values;
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) {
            failure = problem();
            return values;
        }
        while (sqlite3_step(statement) == SQLITE_ROW)
            values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        if (sqlite3_finalize(statement) != SQLITE_OK)
            failure = problem();
        return values;
    }

    // Runs one statement, telling `progress` done of total again and again while it runs.
    QString run(const QString &sql, Progress &progress, qint64 done, qint64 total)
    {
        Ticks ticks{progress, done, total};
        sqlite3_progress_handler(m_db, kInstructionsPerTick, &Ticks::tick, &ticks);
        const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
        sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
        return rc == SQLITE_OK ? QString() : problem();
    }

private:
    struct Ticks
    {
        Progress &progress;
        qint64 done;
        qint64 total;
        static int tick(void *self)
        {
            const auto *t = static_cast<Ticks *>(self);
            t->progress.report(t->done, t->total);
            return 0; // go on
        }
    };

    QString problem() const { return QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory"); }

    sqlite3 *m_db = nullptr;
};

} // namespace

QStringList statements(Schema::Store store, Schema::Engine engine, const QStringList &tables,
                       const QStringList &indexes)
{
    QStringList creates, drops;
    for (const Schema::Table &t : Schema::tables(store)) {
        if (!containsName(tables, t.name))
            continue;
        for (const QStringList &columns : t.indexes)
            if (!containsName(indexes, Schema::indexName(t, columns)))
                creates << Schema::createIndexStatement(t, columns);
        for (const QString &retired : t.retiredIndexes)
            if (containsName(indexes, retired))
                drops << Schema::dropIndexStatement(t, retired, engine);
    }
    return creates + drops;
}

QString upgradeFile(const QString &path, Schema::Store store, Progress &progress, QStringList *ran)
{
    SqliteFile file;
    if (QString failure = file.open(path); !failure.isEmpty())
        return failure;
    QString failure;
    const QStringList tables = file.column("SELECT name FROM sqlite_master WHERE type='table'", failure);
    const QStringList indexes = file.column("SELECT name FROM sqlite_master WHERE type='index'", failure);
    if (!failure.isEmpty())
        return failure;
    const QStringList pending = statements(store, Schema::Engine::Sqlite, tables, indexes);
    for (qsizetype i = 0; i < pending.size(); ++i) {
        progress.report(i, pending.size());
        if (QString failed = file.run(pending[i], progress, i, pending.size()); !failed.isEmpty())
            return failed + QStringLiteral(": ") + pending[i];
        if (ran)
            ran->append(pending[i]);
    }
    if (!pending.isEmpty())
        progress.report(pending.size(), pending.size());
    return QString();
}

int upgrade(Connection &cnn, Schema::Store store, Progress &progress)
{
    QStringList tables, indexes;
    Schema::Engine engine = Schema::Engine::Sqlite;
    if (cnn.engine() == Connection::Engine::MariaDb) {
        engine = Schema::Engine::MariaDb;
        tables = columnOf(cnn, QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES "
                                              "WHERE TABLE_SCHEMA=DATABASE()"));
        indexes = columnOf(cnn, QStringLiteral("SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS "
                                               "WHERE TABLE_SCHEMA=DATABASE()"));
    } else {
        tables = columnOf(cnn, QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
        indexes = columnOf(cnn, QStringLiteral("SELECT name FROM sqlite_master WHERE type='index'"));
    }
    const QStringList pending = statements(store, engine, tables, indexes);
    for (qsizetype i = 0; i < pending.size(); ++i) {
        progress.report(i, pending.size());
        cnn.execute(pending[i]);
    }
    if (!pending.isEmpty())
        progress.report(pending.size(), pending.size());
    return int(pending.size());
}

} // namespace SchemaUpgrade
