#include "notice/NoticeRun.h"

#include "base/Common.h"
#include "base/DateValue.h"
#include "base/Format.h"
#include "data/DbError.h"
#include "notice/MailSender.h"
#include "notice/NoticeMessage.h"
#include "notice/NoticeTables.h"


namespace {

// Records of sales days older than this are dropped by the runs.
constexpr int kKeepDays = 62;

void log(const QString &text)
{
    WriteLog(QStringLiteral("売上通知: ") + text);
}

NoticeMessage compose(const NoticeSettings &s, const PlannedNotice &p, double salesDate, int slot, double now)
{
    return NoticeMessage::Compose({s.shopName, s.from, p.to, p.sales, salesDate, slot, now});
}

QString who(const FmrNotice::Recipient &to)
{
    return QStringLiteral("生産者 %1 %2 <%3>").arg(QString::number(to.fmrId), to.name, to.address);
}

} // namespace

NoticeSettings NoticeRun::settings() const
{
    QString problem;
    NoticeSettings s = NoticeSettings::Load(m_mst, &problem);
    if (!problem.isEmpty())
        log(problem);
    return s;
}

NoticeRun::Day NoticeRun::plan(double now)
{
    Day day;
    day.settings = settings();
    day.salesDate = DateValue::dateOnly(now);
    const QTime time = DateValue::toQDateTime(now).time();
    day.slot = day.settings.times.dueAt(time.hour() * 60 + time.minute());
    if (!day.slot)
        return day;
    NoticeTables::Ensure(m_mst, QStringLiteral("M_FMR_NTC"));
    NoticeTables::Ensure(m_db, QStringLiteral("D_NTC"));
    day.plan = NoticePlan::Plan(*day.slot, FmrNotice::Recipients(m_mst), DaySales::Read(m_db, day.salesDate),
                                NoticeLog::Read(m_db, day.salesDate));
    return day;
}

NoticeRun::Summary NoticeRun::send(double now, MailSender &sender, const QString &host)
{
    Day day = plan(now);
    Summary summary;
    summary.slot = day.slot;
    if (!day.slot)
        return summary;
    const QString problem = day.settings.missing();
    for (const PlannedNotice &p : day.plan) {
        if (p.decision == PlannedNotice::Decision::BadAddress)
            log(who(p.to) + u' ' + NoticePlan::reason(p.decision));
        if (p.decision != PlannedNotice::Decision::Send)
            continue;
        ++summary.due;
        if (!problem.isEmpty() || !summary.stopped.isEmpty()) {
            ++summary.failed;
            continue;
        }
        const NoticeMessage message = compose(day.settings, p, day.salesDate, *day.slot, now);
        const NoticeLog::Claim claim = NoticeLog::ClaimSlot(m_db, day.salesDate, *day.slot, p.to.fmrId,
                                                             p.to.address, p.sales, now, host);
        if (claim != NoticeLog::Claim::Claimed) {
            ++(claim == NoticeLog::Claim::Taken ? summary.taken : summary.failed);
            continue;
        }
        const MailSender::Result result = sender.send(day.settings.from, p.to.address, message.raw);
        try {
            if (result.outcome == MailSender::Result::Sent)
                NoticeLog::MarkSent(m_db, day.salesDate, *day.slot, p.to.fmrId, now);
            else
                NoticeLog::Release(m_db, day.salesDate, *day.slot, p.to.fmrId);
        } catch (const DbError &e) {
            // The claim stays: this slot is not sent again to the producer (at most once).
            log(who(p.to) + QStringLiteral(" の送信記録を更新できません: ") + e.description());
        }
        if (result.outcome == MailSender::Result::Sent) {
            ++summary.sent;
            continue;
        }
        ++summary.failed;
        log(who(p.to) + QStringLiteral(" に送信できません: ") + result.reason);
        if (result.outcome == MailSender::Result::Unreachable)
            summary.stopped = result.reason;
    }
    if (!problem.isEmpty() && summary.due > 0)
        summary.stopped = problem;
    try {
        NoticeLog::Purge(m_db, day.salesDate - kKeepDays);
    } catch (const DbError &e) {
        log(QStringLiteral("古い送信記録を削除できません: ") + e.description());
    }
    log(QStringLiteral("%1 %2 の回: 送信 %3 件、失敗 %4 件、他の実行が送信 %5 件%6")
            .arg(Format::date(day.salesDate, QStringLiteral("yyyy/mm/dd")), NoticeTimes::slotText(*day.slot))
            .arg(summary.sent)
            .arg(summary.failed)
            .arg(summary.taken)
            .arg(summary.stopped.isEmpty() ? QString() : QStringLiteral("（中断: %1）").arg(summary.stopped)));
    return summary;
}

QString NoticeRun::preview(double now)
{
    const Day day = plan(now);
    QStringList out;
    if (!day.slot) {
        out << (day.settings.times.isEmpty() ? QStringLiteral("送信時刻が設定されていません。")
                                             : QStringLiteral("本日の最初の送信時刻 %1 の前です。")
                                                   .arg(NoticeTimes::slotText(day.settings.times.minutes().first())));
        return out.join(u'\n') + u'\n';
    }
    int due = 0;
    for (const PlannedNotice &p : day.plan)
        due += p.decision == PlannedNotice::Decision::Send ? 1 : 0;
    out << QStringLiteral("売上通知 %1 %2 の回（%3 時点）: 送信予定 %4 件 / 通知先 %5 件")
               .arg(Format::date(day.salesDate, QStringLiteral("yyyy/mm/dd")), NoticeTimes::slotText(*day.slot),
                    Format::date(now, QStringLiteral("hh:nn")))
               .arg(due)
               .arg(day.plan.size());
    if (const QString problem = day.settings.missing(); !problem.isEmpty())
        out << QStringLiteral("送信できません: ") + problem;
    for (const PlannedNotice &p : day.plan) {
        out << QString() << QStringLiteral("==== ") + who(p.to) + QStringLiteral(": ") + NoticePlan::reason(p.decision);
        if (p.decision != PlannedNotice::Decision::Send)
            continue;
        const NoticeMessage m = compose(day.settings, p, day.salesDate, *day.slot, now);
        out << QStringLiteral("件名: ") + m.subject << QString() << m.body.trimmed().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    return out.join(u'\n') + u'\n';
}
