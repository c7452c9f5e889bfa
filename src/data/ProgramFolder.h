#pragma once

#include "data/Schema.h"

#include <QString>
#include <QStringList>

// Creates a register's program folder: INFO.MDB with the workstation's settings, a transaction database
// (regi.mdb) and a master database (mst.mdb), all SQLite files with every table, key and index, and the
// shop's control values. With demo content the masters hold a believable shop.
namespace ProgramFolder {

inline const QString TransactionFile = QStringLiteral("regi.mdb");
inline const QString MasterFile = QStringLiteral("mst.mdb");

// Returns "" when done, else what went wrong. An existing folder that is not empty is refused and left
// as it is; a failure half-way removes what was created.
QString create(const QString &folder, bool demo);

// The rows a new database of that kind starts with (control values, and the demo masters when asked), as
// statements in the register's SQL. The local database's settings name the folder's backup folder.
QStringList initialRows(Schema::Store store, const QString &folder, bool demo);

} // namespace ProgramFolder
