#include "tax/ProductRates.h"

#include "data/AddedTables.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/Sql.h"
#include "data/clsData.h"

#include <QMap>
#include <QStringList>
#include <optional>

const QString ProductRates::Table = QStringLiteral("M_PRD_TAX");

namespace {

QString textOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

// A product number; a barcode row without one is left out of the list.
std::optional<qint32> idOf(const Recordset &rs)
{
    const Variant v = rs.Fields(QStringLiteral("PRD_ID"));
    if (v.isNull() || v.isEmpty())
        return std::nullopt;
    return v.toLong();
}

} // namespace

Currency ProductRates::ShopRate(clsData &mst)
{
    return mst.GetCtrl(QStringLiteral("TAX_RT")).toCurrencyOrZero();
}

ProductRates ProductRates::Load(clsData &mst, const QList<qint32> &products)
{
    ProductRates rates;
    rates.m_shopRate = ShopRate(mst);
    if (products.isEmpty())
        return rates;
    QStringList ids;
    for (qint32 id : products)
        ids << QString::number(id);
    Recordset rs;
    try {
        rs = mst.GetFwdOnlyRst(Sql(R"(SELECT PRD_ID, TAX_RT FROM M_PRD_TAX WHERE PRD_ID IN (:ids))")
                                   .raw(QStringLiteral("ids"), ids.join(u',')));
    } catch (const DbError &) {
        // Asked only after a failure, so that a sale costs one query: a missing table means no own rates.
        if (AddedTables::Exist(mst, {Table}))
            throw;
        return rates;
    }
    for (; !rs.EOF_(); rs.MoveNext())
        rates.m_own.insert(rs.Fields(QStringLiteral("PRD_ID")).toLong(), rs.Fields(QStringLiteral("TAX_RT")).toCurrencyOrZero());
    return rates;
}

QList<ProductRates::Row> ProductRates::List(clsData &mst)
{
    const Currency shop = ShopRate(mst);
    QMap<qint32, Row> rows;
    const auto add = [&](const Recordset &rs, const QString &nameField) {
        const std::optional<qint32> id = idOf(rs);
        if (!id)
            return;
        Row &row = rows[*id];
        row.prdId = *id;
        row.rate = shop;
        if (row.name.isEmpty())
            row.name = textOf(rs.Fields(nameField));
    };
    for (Recordset rs = mst.GetFwdOnlyRst(QStringLiteral("SELECT PRD_ID, PRD_NM FROM M_PRD")); !rs.EOF_(); rs.MoveNext())
        add(rs, QStringLiteral("PRD_NM"));
    for (Recordset rs = mst.GetFwdOnlyRst(QStringLiteral("SELECT PRD_ID, MIN(BCD_NM) AS BCD_NM FROM M_PRD_BCD GROUP BY PRD_ID"));
         !rs.EOF_(); rs.MoveNext())
        add(rs, QStringLiteral("BCD_NM"));
    if (!AddedTables::Exist(mst, {Table}))
        return rows.values();
    for (Recordset rs = mst.GetFwdOnlyRst(QStringLiteral("SELECT PRD_ID, TAX_RT FROM M_PRD_TAX")); !rs.EOF_(); rs.MoveNext()) {
        const qint32 id = rs.Fields(QStringLiteral("PRD_ID")).toLong();
        Row &row = rows[id];
        row.prdId = id;
        row.rate = rs.Fields(QStringLiteral("TAX_RT")).toCurrencyOrZero();
        row.own = true;
    }
    return rows.values();
}
