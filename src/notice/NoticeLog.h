#pragma once

#include "notice/DaySales.h"

#include <QList>
#include <QString>

class clsData;

// What was sent: D_NTC of the transaction database, one row per sales day, slot and producer.
//
// A notice is claimed before it is sent: one transaction checks that the slot is not taken for the producer
// and that no notice of the day already told the same sales, and inserts the row (state Claimed). The key
// (day, slot, producer) lets only one of two machines running at once insert it; on the server the check
// also locks the producer's rows of the day, so the other machine waits and then sees the row. After the
// server accepted the message the row is marked Sent; when the server refused it the row is removed, so the
// next run tries again.
//
// A run that dies between the claim and the mark leaves the row Claimed, and the notice is never sent again
// for that slot: at most once. The other choice, recording after sending, would send again after such a
// crash, and again after every crash at the same point. The cost of ours is one notice that may have been
// lost; the next slot's notice carries the whole day so far.
struct NoticeRecord
{
    enum State { Claimed = 0, Sent = 1 };
    qint32 fmrId = 0;
    int slot = 0;
    int state = Claimed;
    qint64 lineCount = 0;
    qint64 lastRegId = 0;
};

namespace NoticeLog {

// The rows of one sales day.
QList<NoticeRecord> Read(clsData &db, double salesDate);

enum class Claim { Claimed, Taken, Failed };
// Claims the slot for the producer with the sales it will tell. Taken: another run has the slot, or a
// notice of the day already told these sales. Failed: the database refused (the reason is in the log).
Claim ClaimSlot(clsData &db, double salesDate, int slot, qint32 fmrId, const QString &address,
                const ProducerSales &sales, double now, const QString &host);
// The server took the message.
void MarkSent(clsData &db, double salesDate, int slot, qint32 fmrId, double now);
// The server refused it: the claim goes, so that a later run sends it.
void Release(clsData &db, double salesDate, int slot, qint32 fmrId);
// Forgets the rows of sales days before `salesDate`.
void Purge(clsData &db, double salesDate);

} // namespace NoticeLog
