#pragma once

#include <QStringList>

class clsData;

// Tables added to the schema after a shop's databases may have been made (the sales notices, the tax of
// each sale): their first user makes them when they are missing, with the columns and key of the schema,
// and leaves existing ones as they are.
namespace AddedTables {

// Whether all of the tables are there: one look that writes nothing to the log (a register asks before
// every sale).
bool Exist(clsData &data, const QStringList &tables);
// Creates those of the tables that are missing. Throws DbError when one cannot be made (a server user
// without the right to create tables). On a server a CREATE ends the open transaction, so this runs
// before a transaction begins.
void Ensure(clsData &data, const QStringList &tables);

} // namespace AddedTables
