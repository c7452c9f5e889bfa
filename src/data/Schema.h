#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Every table of the three databases, their keys and lookup indexes, and the DDL that creates them on
// each engine. The data layer also reads column types from here: SQLite hands back money as a number
// and dates as text, so a field named after a money or date column is turned into Currency or Date.
namespace Schema {

enum class Type { Integer, Money, Date, Text };
enum class Store { Transaction, Master, Local };
enum class Engine { Sqlite, MariaDb };

struct Column
{
    QString name;
    Type type;
    int length = 0; // texts: the longest value any input allows (0: a generous default)
};

struct Table
{
    QString name;
    QList<Column> columns;
    QStringList key;
    QList<QStringList> indexes;
    // Indexes that earlier versions created and a later one replaced: an existing database loses them.
    QStringList retiredIndexes = {};
};

const QList<Table> &tables(Store store);
const Table *table(const QString &name);
QStringList createStatements(Store store, Engine engine);
// One table's statements; with ifNotExists they leave an existing table as it is (tables added later to a
// database made before them).
QStringList createStatements(const Table &table, Engine engine, bool ifNotExists = false);
// The name of an index of the table over those columns ("IX_D_REG_SALES_DATE"), its CREATE statement,
// and the DROP statement of an index by name.
QString indexName(const Table &table, const QStringList &columns);
QString createIndexStatement(const Table &table, const QStringList &columns, bool ifNotExists = false);
QString dropIndexStatement(const Table &table, const QString &index, Engine engine);

// The type of a result field: a column name, "T.COLUMN", or an aggregate of one ("MAX(T.COLUMN)",
// "Sum(AMT)"); COUNT(...) is an integer. Unknown names give nothing.
std::optional<Type> fieldType(const QString &fieldName);

} // namespace Schema
