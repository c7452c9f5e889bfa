#include "data/AddedTables.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Schema.h"
#include "data/clsData.h"

namespace AddedTables {

namespace {

const Schema::Table &tableOf(const QString &name)
{
    const Schema::Table *t = Schema::table(name);
    if (t == nullptr)
        throw DbError(QStringLiteral("テーブル %1 を作成できません。").arg(name));
    return *t;
}

bool exists(Connection &cnn, const Schema::Table &t)
{
    try {
        cnn.query(QStringLiteral("SELECT %1 FROM %2 WHERE 1=0").arg(t.key.first(), t.name), Recordset::Kind::ForwardOnly);
        return true;
    } catch (const DbError &) {
        return false;
    }
}

} // namespace

bool Exist(clsData &data, const QStringList &tables)
{
    Connection *cnn = data.connection();
    if (cnn == nullptr)
        return false;
    QStringList columns;
    for (const QString &name : tables)
        columns << name + u'.' + tableOf(name).key.first();
    try {
        cnn->query(QStringLiteral("SELECT %1 FROM %2 WHERE 1=0").arg(columns.join(u','), tables.join(u',')),
                   Recordset::Kind::ForwardOnly);
        return true;
    } catch (const DbError &) {
        return false;
    }
}

void Ensure(clsData &data, const QStringList &tables)
{
    Connection *cnn = data.connection();
    if (cnn == nullptr)
        throw DbError(QStringLiteral("テーブル %1 を作成できません。").arg(tables.join(QStringLiteral(", "))));
    const Schema::Engine engine =
        cnn->engine() == Connection::Engine::MariaDb ? Schema::Engine::MariaDb : Schema::Engine::Sqlite;
    for (const QString &name : tables) {
        const Schema::Table &t = tableOf(name);
        // A look first: the statement that creates it would need the right to create tables even when the
        // table is there, and would be written to the log on every run.
        if (exists(*cnn, t))
            continue;
        for (const QString &ddl : Schema::createStatements(t, engine, true))
            data.EXEC(ddl);
    }
}

} // namespace AddedTables
