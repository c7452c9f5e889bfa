#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class clsData;

// Reading and correcting one producer of M_FMR for the producer master editor. Producers are never added
// or removed here.
namespace FmrMaster {

// The editable columns in the order of the editor's boxes 1 to 12.
const QStringList &Columns();
// The statement that finds one producer by its code.
QString SelectSql(qint32 code);

// The producer's editable values as texts (Null as ""), or nothing when the code has no row.
// Failures of the database reach the caller.
std::optional<QStringList> Read(clsData &mst, qint32 code);

// Writes the twelve texts to the producer in one transaction: an empty text becomes Null, the fees are
// taken as numbers. A producer that no longer exists is left alone and counts as saved. False (rolled
// back, the reason in the log) when the database refuses a value or the row cannot be written.
bool Save(clsData &mst, qint32 code, const QStringList &texts);

} // namespace FmrMaster
