#include "notice/NoticeLog.h"

#include "base/Common.h"
#include "base/Variant.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Sql.h"
#include "data/Transaction.h"
#include "data/clsData.h"

namespace NoticeLog {

namespace {

qint64 countOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? 0 : qint64(v.toDouble());
}

// Another machine claimed in the same moment: its row's key, or the server chose this claim as the
// victim of a deadlock between the two.
bool isCollision(const DbError &e)
{
    const QString &d = e.description();
    return e.number() == 1062 || e.number() == 1213 || e.number() == 19 || e.number() == 1555
        || e.number() == 2067 || d.contains(QStringLiteral("UNIQUE constraint failed"), Qt::CaseInsensitive)
        || d.contains(QStringLiteral("Duplicate entry"), Qt::CaseInsensitive)
        || d.contains(QStringLiteral("Deadlock"), Qt::CaseInsensitive);
}

Sql rowOf(const QString &statement, double salesDate, int slot, qint32 fmrId)
{
    Sql sql(statement);
    sql.date("day", salesDate).number("slot", slot).number("fmr", fmrId);
    return sql;
}

} // namespace

QList<NoticeRecord> Read(clsData &db, double salesDate)
{
    Recordset rs = db.GetFwdOnlyRst(
        Sql(R"(SELECT FMR_ID, NTC_SLOT, NTC_STATE, LINE_CNT, LAST_REG_ID FROM D_NTC WHERE SALES_DATE=:day)")
            .date("day", salesDate));
    QList<NoticeRecord> records;
    for (; !rs.EOF_(); rs.MoveNext())
        records.append({rs.Fields(0).toLong(), int(countOf(rs.Fields(1))), int(countOf(rs.Fields(2))),
                        countOf(rs.Fields(3)), countOf(rs.Fields(4))});
    rs.Close();
    return records;
}

Claim ClaimSlot(clsData &db, double salesDate, int slot, qint32 fmrId, const QString &address,
                const ProducerSales &sales, double now, const QString &host)
{
    // On the server the read locks what it finds, and the gap where the row would go, until the commit.
    const bool server = db.connection() && db.connection()->engine() == Connection::Engine::MariaDb;
    try {
        Transaction t(db);
        Recordset taken = db.GetFwdOnlyRst(
            rowOf(QStringLiteral(R"(SELECT NTC_SLOT FROM D_NTC
 WHERE SALES_DATE=:day AND FMR_ID=:fmr AND (NTC_SLOT=:slot OR (LINE_CNT=:lines AND LAST_REG_ID=:last)))")
                      + (server ? QStringLiteral(" FOR UPDATE") : QString()),
                  salesDate, slot, fmrId)
                .number("lines", sales.lineCount)
                .number("last", sales.lastRegId));
        const bool found = !taken.EOF_();
        taken.Close();
        if (found)
            return Claim::Taken;
        db.EXEC(rowOf(QStringLiteral(R"(INSERT INTO D_NTC (SALES_DATE, NTC_SLOT, FMR_ID, NTC_STATE, NTC_ADRS, LINE_CNT,
  LAST_REG_ID, SALES_QTY, SALES_AMT, NTC_DTM, NTC_HOST)
 VALUES (:day, :slot, :fmr, 0, :adrs, :lines, :last, :qty, :amt, :now, :host))"),
                      salesDate, slot, fmrId)
                    .text("adrs", address)
                    .number("lines", sales.lineCount)
                    .number("last", sales.lastRegId)
                    .money("qty", sales.qty)
                    .money("amt", sales.amt)
                    .date("now", now)
                    .text("host", host));
        t.commit();
        return Claim::Claimed;
    } catch (const DbError &e) {
        if (isCollision(e))
            return Claim::Taken;
        WriteLog(QStringLiteral("売上通知: 生産者 %1 の送信記録を書けません: %2").arg(fmrId).arg(e.description()));
        return Claim::Failed;
    }
}

void MarkSent(clsData &db, double salesDate, int slot, qint32 fmrId, double now)
{
    db.EXEC(rowOf(QStringLiteral(R"(UPDATE D_NTC SET NTC_STATE=1, NTC_DTM=:now
 WHERE SALES_DATE=:day AND NTC_SLOT=:slot AND FMR_ID=:fmr)"),
                  salesDate, slot, fmrId)
                .date("now", now));
}

void Release(clsData &db, double salesDate, int slot, qint32 fmrId)
{
    db.EXEC(rowOf(QStringLiteral(R"(DELETE FROM D_NTC
 WHERE SALES_DATE=:day AND NTC_SLOT=:slot AND FMR_ID=:fmr AND NTC_STATE=0)"),
                  salesDate, slot, fmrId));
}

void Purge(clsData &db, double salesDate)
{
    db.EXEC(Sql(R"(DELETE FROM D_NTC WHERE SALES_DATE<:day)").date("day", salesDate));
}

} // namespace NoticeLog
