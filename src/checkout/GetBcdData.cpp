#include "checkout/GetBcdData.h"

#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsData.h"
#include "data/clsMst.h"

#include <optional>

namespace {

// A digit group of the in-store code as a number; a group that holds anything but digits has none, so it
// never reaches a criterion.
std::optional<qint32> groupNumber(const QString &bcd, int position, int length)
{
    const QString group = bcd.mid(position, length);
    if (group.size() != length)
        return std::nullopt;
    for (QChar c : group)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return group.toInt();
}

QString textOrEmpty(const Variant &value)
{
    return value.isNull() || value.isEmpty() ? QString() : value.toString();
}

qint32 longOrZero(const Variant &value)
{
    return Nz(value, Variant(qint32(0))).toLong();
}

Currency moneyOrZero(const Variant &value)
{
    return Nz(value, Variant(qint32(0))).toCurrency();
}

} // namespace

QString PaddedBarcode(const QString &digits)
{
    return (QString(13, u'0') + digits).right(13);
}

qint32 GetBcdData(DtlRec &dtl, clsData &mst)
{
    qint32 result = 0;
    {
        Recordset rs = mst.GetFwdOnlyRst(
            Sql(R"(SELECT M_PRD_BCD.* FROM M_PRD_BCD WHERE M_PRD_BCD.BCD=:bcd)").text("bcd", dtl.BCD));
        if (!rs.EOF_()) {
            result = 1;
            dtl.PRD_ID = longOrZero(rs.Fields(QStringLiteral("PRD_ID")));
            dtl.FMR_ID = longOrZero(rs.Fields(QStringLiteral("FMR_ID")));
            // A name left empty in the master shows as an empty name, not as "0".
            dtl.BCD_NM = textOrEmpty(rs.Fields(QStringLiteral("BCD_NM")));
            dtl.O_PRC = moneyOrZero(rs.Fields(QStringLiteral("PRC")));
            dtl.PRC = dtl.O_PRC;
            dtl.UNIT_ID = longOrZero(rs.Fields(QStringLiteral("UNIT_ID")));
        } else {
            // Leading zeros never matter: the criteria carry the groups as numbers.
            const auto product = groupNumber(dtl.BCD, 0, 3);
            const auto producer = groupNumber(dtl.BCD, 3, 4);
            const auto price = groupNumber(dtl.BCD, 7, 4);
            if (!product || mst.DCount(QStringLiteral("*"), QStringLiteral("M_PRD"),
                                       QStringLiteral("PRD_ID=%1").arg(*product)).toLong() == 0)
                result = -1;
            if (!producer || mst.DCount(QStringLiteral("*"), QStringLiteral("M_FMR"),
                                        QStringLiteral("FMR_ID=%1").arg(*producer)).toLong() == 0)
                result = -2;
            if (result == 0 && price) {
                dtl.PRD_ID = *product;
                dtl.BCD_NM = textOrEmpty(mst.DLookup(QStringLiteral("PRD_NM"), QStringLiteral("M_PRD"),
                                                     QStringLiteral("PRD_ID=%1").arg(dtl.PRD_ID)));
                dtl.FMR_ID = *producer;
                dtl.O_PRC = Currency::fromInt(qint64(*price) * 10);
                dtl.PRC = dtl.O_PRC;
                dtl.UNIT_ID = 1;
            } else if (result == 0) {
                result = -1; // a price group that is no number cannot make a line
            }
        }
    }
    dtl.FMR_NM = textOrEmpty(mst.DLookup(QStringLiteral("FMR_NM"), QStringLiteral("M_FMR"),
                                         QStringLiteral("FMR_ID=%1").arg(dtl.FMR_ID)));
    return result;
}

qint32 GetBcdData(DtlRec &dtl)
{
    return GetBcdData(dtl, *gMst);
}
