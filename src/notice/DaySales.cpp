#include "notice/DaySales.h"

#include "base/Variant.h"
#include "data/Sql.h"
#include "data/clsData.h"

#include <algorithm>

namespace DaySales {

namespace {

// Per producer and item name: the open sales of the day, then the closed ones that are not open again.
const char *const kDaySales = R"(SELECT L.FMR_ID, L.BCD_NM, SUM(L.QTY) AS SALES_QTY, SUM(L.AMT) AS SALES_AMT,
       COUNT(*) AS LINE_CNT, MAX(L.REG_ID) AS LAST_REG_ID
  FROM D_REG_DTL L INNER JOIN D_REG H ON H.REG_ID=L.REG_ID
 WHERE H.SALES_DATE=:day
 GROUP BY L.FMR_ID, L.BCD_NM
UNION ALL
SELECT L.FMR_ID, L.BCD_NM, SUM(L.QTY) AS SALES_QTY, SUM(L.AMT) AS SALES_AMT,
       COUNT(*) AS LINE_CNT, MAX(L.REG_ID) AS LAST_REG_ID
  FROM B_REG_DTL L INNER JOIN B_REG H ON H.REG_ID=L.REG_ID
 WHERE H.SALES_DATE=:day AND NOT EXISTS (SELECT D.REG_ID FROM D_REG D WHERE D.REG_ID=H.REG_ID)
 GROUP BY L.FMR_ID, L.BCD_NM)";

Currency moneyOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? Currency() : v.toCurrency();
}

qint64 countOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? 0 : qint64(v.toDouble());
}

void add(ProducerSales &sales, const QString &name, Currency qty, Currency amt)
{
    sales.qty += qty;
    sales.amt += amt;
    for (SaleItem &item : sales.items) {
        if (item.name == name) {
            item.qty += qty;
            item.amt += amt;
            return;
        }
    }
    sales.items.append({name, qty, amt});
}

} // namespace

QHash<qint32, ProducerSales> Read(clsData &db, double salesDate)
{
    Recordset rs = db.GetFwdOnlyRst(Sql(QString::fromUtf8(kDaySales)).date("day", salesDate));
    QHash<qint32, ProducerSales> byProducer;
    for (; !rs.EOF_(); rs.MoveNext()) {
        ProducerSales &sales = byProducer[rs.Fields(QStringLiteral("FMR_ID")).toLong()];
        const Variant name = rs.Fields(QStringLiteral("BCD_NM"));
        add(sales, name.isNull() || name.isEmpty() ? QString() : name.toString(),
            moneyOf(rs.Fields(QStringLiteral("SALES_QTY"))), moneyOf(rs.Fields(QStringLiteral("SALES_AMT"))));
        sales.lineCount += countOf(rs.Fields(QStringLiteral("LINE_CNT")));
        sales.lastRegId = std::max(sales.lastRegId, countOf(rs.Fields(QStringLiteral("LAST_REG_ID"))));
    }
    rs.Close();
    for (ProducerSales &sales : byProducer)
        std::sort(sales.items.begin(), sales.items.end(),
                  [](const SaleItem &a, const SaleItem &b) { return a.name < b.name; });
    return byProducer;
}

} // namespace DaySales
