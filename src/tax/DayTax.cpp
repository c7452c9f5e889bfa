#include "tax/DayTax.h"

#include "data/AddedTables.h"
#include "data/Recordset.h"
#include "data/Sql.h"
#include "data/clsData.h"

#include <QMap>

namespace {

const char *const kRates = R"(SELECT T.TAX_RT, SUM(T.AMT) AS AMT, SUM(T.TAX) AS TAX, COUNT(*) AS N
  FROM D_REG_TAX T INNER JOIN D_REG H ON H.REG_ID=T.REG_ID
 WHERE H.SALES_DATE=:day
 GROUP BY T.TAX_RT
UNION ALL
SELECT T.TAX_RT, SUM(T.AMT) AS AMT, SUM(T.TAX) AS TAX, COUNT(*) AS N
  FROM B_REG_TAX T INNER JOIN B_REG H ON H.REG_ID=T.REG_ID
 WHERE H.SALES_DATE=:day AND NOT EXISTS (SELECT D.REG_ID FROM D_REG D WHERE D.REG_ID=H.REG_ID)
 GROUP BY T.TAX_RT)";

// Sales of the day without tax rows; a sale of nothing has none and counts nowhere.
const char *const kUnrecorded = R"(SELECT COUNT(*) AS N, SUM(H.AMT_SUM) AS AMT_SUM
  FROM D_REG H
 WHERE H.SALES_DATE=:day AND H.AMT_SUM<>0 AND NOT EXISTS (SELECT T.REG_ID FROM D_REG_TAX T WHERE T.REG_ID=H.REG_ID)
UNION ALL
SELECT COUNT(*) AS N, SUM(H.AMT_SUM) AS AMT_SUM
  FROM B_REG H
 WHERE H.SALES_DATE=:day AND H.AMT_SUM<>0 AND NOT EXISTS (SELECT T.REG_ID FROM B_REG_TAX T WHERE T.REG_ID=H.REG_ID)
   AND NOT EXISTS (SELECT D.REG_ID FROM D_REG D WHERE D.REG_ID=H.REG_ID))";

// Before the tax tables existed every sale is unrecorded.
const char *const kAllSales = R"(SELECT COUNT(*) AS N, SUM(H.AMT_SUM) AS AMT_SUM FROM D_REG H WHERE H.SALES_DATE=:day AND H.AMT_SUM<>0
UNION ALL
SELECT COUNT(*) AS N, SUM(H.AMT_SUM) AS AMT_SUM FROM B_REG H
 WHERE H.SALES_DATE=:day AND H.AMT_SUM<>0 AND NOT EXISTS (SELECT D.REG_ID FROM D_REG D WHERE D.REG_ID=H.REG_ID))";

Currency moneyOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? Currency() : v.toCurrency();
}

qint32 countOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? 0 : v.toLong();
}

} // namespace

Currency DayTax::amount() const
{
    Currency sum = unrecordedAmount;
    for (const Rate &r : rates)
        sum += r.amount;
    return sum;
}

Currency DayTax::tax() const
{
    Currency sum;
    for (const Rate &r : rates)
        sum += r.tax;
    return sum;
}

DayTax DayTax::Load(clsData &db, double salesDate)
{
    DayTax day;
    const bool kept = AddedTables::Exist(db, {QStringLiteral("D_REG_TAX"), QStringLiteral("B_REG_TAX")});
    if (kept) {
        QMap<Currency, Rate> byRate;
        Recordset rs = db.GetFwdOnlyRst(Sql(QString::fromLatin1(kRates)).date(QStringLiteral("day"), salesDate));
        for (; !rs.EOF_(); rs.MoveNext()) {
            const Currency rate = moneyOf(rs.Fields(QStringLiteral("TAX_RT")));
            Rate &r = byRate[rate];
            r.rate = rate;
            r.amount += moneyOf(rs.Fields(QStringLiteral("AMT")));
            r.tax += moneyOf(rs.Fields(QStringLiteral("TAX")));
            r.sales += countOf(rs.Fields(QStringLiteral("N")));
        }
        day.rates = byRate.values();
    }
    Recordset rs = db.GetFwdOnlyRst(Sql(QString::fromLatin1(kept ? kUnrecorded : kAllSales)).date(QStringLiteral("day"), salesDate));
    for (; !rs.EOF_(); rs.MoveNext()) {
        day.unrecordedSales += countOf(rs.Fields(QStringLiteral("N")));
        day.unrecordedAmount += moneyOf(rs.Fields(QStringLiteral("AMT_SUM")));
    }
    return day;
}
