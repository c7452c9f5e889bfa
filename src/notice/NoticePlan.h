#pragma once

#include "notice/DaySales.h"
#include "notice/FmrNotice.h"
#include "notice/NoticeLog.h"

#include <QHash>
#include <QList>

// Who is due a notice in a slot, and why the others are not: the decision of a run before anything is
// claimed or sent, for every producer whose notices are on.
struct PlannedNotice
{
    enum class Decision {
        Send,
        BadAddress, // the stored address is not one plain address
        NoSales,    // nothing sold yet today
        NoNewSales, // a notice of the day already told these sales
        SlotDone,   // this slot was sent (or is being sent) already
    };
    FmrNotice::Recipient to;
    ProducerSales sales;
    Decision decision = Decision::Send;
};

namespace NoticePlan {

QList<PlannedNotice> Plan(int slot, const QList<FmrNotice::Recipient> &recipients,
                          const QHash<qint32, ProducerSales> &sales, const QList<NoticeRecord> &records);

// "新しい売上なし" and the like, for the dry run and the log.
QString reason(PlannedNotice::Decision decision);

} // namespace NoticePlan
