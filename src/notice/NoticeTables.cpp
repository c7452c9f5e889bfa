#include "notice/NoticeTables.h"

#include "data/AddedTables.h"

namespace NoticeTables {

void Ensure(clsData &data, const QString &table)
{
    AddedTables::Ensure(data, {table});
}

} // namespace NoticeTables
