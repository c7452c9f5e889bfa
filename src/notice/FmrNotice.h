#pragma once

#include <QList>
#include <QString>

class clsData;

// A producer's notice address and whether notices are sent to it: M_FMR_NTC of the master database, one
// row per producer that has either (M_FMR keeps its columns). The producer master editor reads and writes
// it; the notice run reads every producer whose notices are on.
namespace FmrNotice {

struct Entry
{
    QString address;
    bool on = false;
};

struct Recipient
{
    qint32 fmrId = 0;
    QString name;    // M_FMR.FMR_NM
    QString address; // exactly as stored on the producer's row
};

// The producer's entry; an empty one when the producer has none.
Entry Read(clsData &mst, qint32 fmrId);
// Replaces the producer's entry inside the caller's transaction. An empty address with notices off removes
// it; a producer that is not in M_FMR gets none. The address is stored as given: callers check it first.
void Save(clsData &mst, qint32 fmrId, const Entry &entry);
// Every producer of M_FMR whose notices are on and who has an address, by code.
QList<Recipient> Recipients(clsData &mst);

} // namespace FmrNotice
