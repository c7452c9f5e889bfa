#include "notice/NoticePlan.h"

#include "notice/MailAddress.h"

namespace NoticePlan {

namespace {

PlannedNotice::Decision decide(int slot, const FmrNotice::Recipient &to, const ProducerSales *sales,
                               const QList<const NoticeRecord *> &records)
{
    using D = PlannedNotice::Decision;
    if (sales == nullptr || sales->lineCount == 0)
        return D::NoSales;
    for (const NoticeRecord *r : records)
        if (r->slot == slot)
            return D::SlotDone;
    // Any notice of the day that told the same sales, sent or still being sent: nothing new to tell.
    for (const NoticeRecord *r : records)
        if (r->lineCount == sales->lineCount && r->lastRegId == sales->lastRegId)
            return D::NoNewSales;
    // Last, so that the log names a wrong address only when a notice would have gone to it.
    if (!MailAddress::isValid(to.address))
        return D::BadAddress;
    return D::Send;
}

} // namespace

QList<PlannedNotice> Plan(int slot, const QList<FmrNotice::Recipient> &recipients,
                          const QHash<qint32, ProducerSales> &sales, const QList<NoticeRecord> &records)
{
    QHash<qint32, QList<const NoticeRecord *>> byProducer;
    for (const NoticeRecord &r : records)
        byProducer[r.fmrId].append(&r);
    QList<PlannedNotice> plan;
    plan.reserve(recipients.size());
    for (const FmrNotice::Recipient &to : recipients) {
        const auto found = sales.constFind(to.fmrId);
        const ProducerSales *own = found == sales.constEnd() ? nullptr : &*found;
        PlannedNotice p{to, own ? *own : ProducerSales(), PlannedNotice::Decision::Send};
        p.decision = decide(slot, to, own, byProducer.value(to.fmrId));
        plan.append(p);
    }
    return plan;
}

QString reason(PlannedNotice::Decision decision)
{
    switch (decision) {
    case PlannedNotice::Decision::Send: return QStringLiteral("送信");
    case PlannedNotice::Decision::BadAddress: return QStringLiteral("アドレスが正しくないため送りません");
    case PlannedNotice::Decision::NoSales: return QStringLiteral("本日の売上がないため送りません");
    case PlannedNotice::Decision::NoNewSales: return QStringLiteral("前回の通知から新しい売上がないため送りません");
    case PlannedNotice::Decision::SlotDone: return QStringLiteral("この時刻の通知は送信済みです");
    }
    return QString();
}

} // namespace NoticePlan
