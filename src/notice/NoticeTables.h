#pragma once

#include <QString>

class clsData;

// The notice tables were added after the shop's databases may have been made: the first use creates the
// one it needs when it is missing (D_NTC in the transaction database, M_FMR_NTC in the master database),
// with the columns and key of the schema, and leaves an existing one as it is.
namespace NoticeTables {

void Ensure(clsData &data, const QString &table);

} // namespace NoticeTables
