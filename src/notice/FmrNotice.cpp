#include "notice/FmrNotice.h"

#include "base/Variant.h"
#include "data/Sql.h"
#include "data/clsData.h"

namespace FmrNotice {

namespace {

QString textOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

} // namespace

Entry Read(clsData &mst, qint32 fmrId)
{
    Recordset rs = mst.GetFwdOnlyRst(
        Sql(R"(SELECT NTC_ADRS, NTC_FLG FROM M_FMR_NTC WHERE FMR_ID=:fmr)").number("fmr", fmrId));
    Entry entry;
    if (!rs.EOF_()) {
        entry.address = textOf(rs.Fields(QStringLiteral("NTC_ADRS")));
        entry.on = Nz(rs.Fields(QStringLiteral("NTC_FLG")), Variant(0)).toLong() != 0;
    }
    rs.Close();
    return entry;
}

void Save(clsData &mst, qint32 fmrId, const Entry &entry)
{
    mst.EXEC(Sql(R"(DELETE FROM M_FMR_NTC WHERE FMR_ID=:fmr)").number("fmr", fmrId));
    if (entry.address.isEmpty() && !entry.on)
        return;
    mst.EXEC(Sql(R"(INSERT INTO M_FMR_NTC (FMR_ID, NTC_ADRS, NTC_FLG)
                    SELECT FMR_ID, :adrs, :flg FROM M_FMR WHERE FMR_ID=:fmr)")
                 .number("fmr", fmrId)
                 .text("adrs", entry.address)
                 .number("flg", entry.on ? 1 : 0));
}

QList<Recipient> Recipients(clsData &mst)
{
    Recordset rs = mst.GetFwdOnlyRst(QStringLiteral(R"(SELECT N.FMR_ID, N.NTC_ADRS, F.FMR_NM
  FROM M_FMR_NTC N INNER JOIN M_FMR F ON F.FMR_ID=N.FMR_ID
 WHERE N.NTC_FLG=1 AND N.NTC_ADRS IS NOT NULL
 ORDER BY N.FMR_ID)"));
    QList<Recipient> recipients;
    for (; !rs.EOF_(); rs.MoveNext())
        recipients.append({rs.Fields(0).toLong(), textOf(rs.Fields(2)), textOf(rs.Fields(1))});
    rs.Close();
    return recipients;
}

} // namespace FmrNotice
