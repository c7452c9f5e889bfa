#include "notice/NoticeTables.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Schema.h"
#include "data/clsData.h"

namespace NoticeTables {

void Ensure(clsData &data, const QString &table)
{
    const Schema::Table *t = Schema::table(table);
    Connection *cnn = data.connection();
    if (t == nullptr || cnn == nullptr)
        throw DbError(QStringLiteral("テーブル %1 を作成できません。").arg(table));
    // A look first: the statement that creates it would need the right to create tables even when the
    // table is there, and a run every few minutes would write it to the log each time.
    try {
        cnn->query(QStringLiteral("SELECT %1 FROM %2 WHERE 1=0").arg(t->key.first(), t->name), Recordset::Kind::ForwardOnly);
        return;
    } catch (const DbError &) {
        // Missing: made below.
    }
    const Schema::Engine engine =
        cnn->engine() == Connection::Engine::MariaDb ? Schema::Engine::MariaDb : Schema::Engine::Sqlite;
    for (const QString &ddl : Schema::createStatements(*t, engine, true))
        data.EXEC(ddl);
}

} // namespace NoticeTables
