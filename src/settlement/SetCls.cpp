#include "settlement/SetCls.h"

#include "base/Clock.h"
#include "base/Common.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/Transaction.h"
#include "data/clsDb.h"
#include "settlement/AdjGrid.h"
#include "tax/SaleTaxRows.h"

#include <QStringList>

namespace {

Currency amount(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? Currency() : v.toCurrency();
}

// A total as shown ("12,345") read back as an amount.
Currency totalOf(const QString &caption)
{
    QString plain = caption;
    plain.remove(u',');
    return Currency::parse(plain).value_or(Currency());
}

// The settlement row: the denominations, then the piece counts of the opening float, cash, change and
// deposit columns, each for the rows 01..10, then the four totals.
QString settlementInsert(const AdjGrid &grid, double salesDate, double now, const Variant &amtSum)
{
    QStringList columns;
    QStringList values;
    for (int i = 0; i < AdjGrid::Rows; ++i) {
        columns << QStringLiteral("AMT_") + AdjGrid::Suffix(i);
        values << AdjGrid::AmtValue(i).toPlainText();
    }
    const std::pair<const char *, const std::array<QString, AdjGrid::Rows> *> counts[] = {
        {"PREV_", &grid.PREV}, {"CASH_", &grid.CASH}, {"CHG_", &grid.CHG}, {"POST_", &grid.POST}};
    for (const auto &[prefix, cells] : counts) {
        for (int i = 0; i < AdjGrid::Rows; ++i) {
            columns << QString::fromLatin1(prefix) + AdjGrid::Suffix(i);
            values << QString::number(AdjGrid::Count((*cells)[i]));
        }
    }
    return Sql(R"(INSERT INTO D_ADJ (SALES_DATE, ADJ_DTM, AMT_SUM, :columns, PREV_SUM, CASH_SUM, CHG_SUM, POST_SUM)
VALUES (:day, :now, :amtSum, :values, :prevSum, :cashSum, :chgSum, :postSum))")
        .raw("columns", columns.join(QStringLiteral(", ")))
        .day("day", salesDate)
        .date("now", now)
        .money("amtSum", amount(amtSum))
        .raw("values", values.join(QStringLiteral(", ")))
        .money("prevSum", totalOf(grid.PREV_SUM))
        .money("cashSum", totalOf(grid.CASH_SUM))
        .money("chgSum", totalOf(grid.CHG_SUM))
        .money("postSum", totalOf(grid.POST_SUM));
}

// The day's sales per producer, one row each.
void insertProducerSales(clsData &db, double salesDate)
{
    Recordset dtl = db.GetFwdOnlyRst(
        // One line in the log: a query read as a result set is logged as it is written.
        Sql(R"(SELECT D_REG.SALES_DATE, D_REG_DTL.FMR_ID, SUM(D_REG_DTL.QTY) AS SALES_QTY,)"
            R"( SUM(D_REG_DTL.AMT) AS SALES_AMT FROM D_REG_DTL INNER JOIN D_REG ON D_REG.REG_ID=D_REG_DTL.REG_ID)"
            R"( WHERE D_REG.SALES_DATE=:day GROUP BY D_REG.SALES_DATE, D_REG_DTL.FMR_ID)")
            .date("day", salesDate));
    for (; !dtl.EOF_(); dtl.MoveNext()) {
        db.EXEC(Sql(R"(INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT) VALUES (:day, :fmr, :qty, :amt))")
                    .day("day", salesDate)
                    .money("fmr", amount(dtl.Fields(QStringLiteral("FMR_ID"))))
                    .money("qty", amount(dtl.Fields(QStringLiteral("SALES_QTY"))))
                    .money("amt", amount(dtl.Fields(QStringLiteral("SALES_AMT")))));
    }
    dtl.Close();
}

} // namespace

bool SetCls(clsData &db, const AdjGrid &grid, double salesDate, double now)
{
    const auto ofTheDay = [salesDate](const char *statement) {
        return Sql(QString::fromLatin1(statement)).date("day", salesDate);
    };
    try {
        // Made before the transaction when missing: on a server a CREATE would end it.
        const bool taxRows = SaleTaxRows::Ready(db);
        Transaction transaction(db);
        db.EXEC(ofTheDay(R"(DELETE D_ADJ.* FROM D_ADJ WHERE D_ADJ.SALES_DATE=:day)"));
        Recordset rs = db.GetFwdOnlyRst(ofTheDay(R"(SELECT D_REG.SALES_DATE, SUM(D_REG.AMT_SUM) AS AMT_SUM)"
                                                 R"( FROM D_REG WHERE D_REG.SALES_DATE=:day GROUP BY D_REG.SALES_DATE)"));
        // A day without sales leaves no settlement row.
        if (!rs.EOF_())
            db.EXEC(settlementInsert(grid, salesDate, now, rs.Fields(QStringLiteral("AMT_SUM"))));
        rs.Close();

        db.EXEC(ofTheDay(R"(DELETE D_ADJ_DTL.* FROM D_ADJ_DTL WHERE D_ADJ_DTL.SALES_DATE=:day)"));
        insertProducerSales(db, salesDate);

        // The tax of each sale goes with it, found through the sales still in D_REG.
        if (taxRows)
            SaleTaxRows::MoveToBackup(db, salesDate);
        // The backup copy of the day replaces an earlier one (a day closed, reopened and closed again).
        db.EXEC(ofTheDay(R"(DELETE B_REG_DTL.* FROM B_REG_DTL LEFT JOIN B_REG ON B_REG_DTL.REG_ID=B_REG.REG_ID
WHERE B_REG.SALES_DATE=:day)"));
        db.EXEC(ofTheDay(R"(DELETE B_REG.* FROM B_REG WHERE B_REG.SALES_DATE=:day)"));
        db.EXEC(ofTheDay(R"(INSERT INTO B_REG SELECT D_REG.* FROM D_REG WHERE D_REG.SALES_DATE=:day)"));
        db.EXEC(ofTheDay(R"(INSERT INTO B_REG_DTL SELECT D_REG_DTL.* FROM D_REG_DTL
LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID WHERE D_REG.SALES_DATE=:day)"));
        // Lines first: they are found through their header's sales date.
        db.EXEC(ofTheDay(R"(DELETE D_REG_DTL.* FROM D_REG_DTL LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID
WHERE D_REG.SALES_DATE=:day)"));
        db.EXEC(ofTheDay(R"(DELETE D_REG.* FROM D_REG WHERE D_REG.SALES_DATE=:day)"));
        transaction.commit();
        return true;
    } catch (const std::exception &e) {
        WriteLog(QString::fromStdString(e.what()));
        MsgBoxEx(QStringLiteral("日次締処理に失敗しました。"), Msg::Critical);
        return false;
    }
}

bool SetCls(const AdjGrid &grid)
{
    return SetCls(*gDb, grid, gSalesDate, Clock::Now());
}

long CancelDailyAdj(clsData &db, double salesDate)
{
    const char *const statements[] = {
        R"(DELETE D_REG_DTL.* FROM D_REG_DTL LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID
WHERE D_REG.SALES_DATE=:day)",
        R"(DELETE D_REG.* FROM D_REG WHERE D_REG.SALES_DATE=:day)",
        R"(INSERT INTO D_REG SELECT B_REG.* FROM B_REG WHERE B_REG.SALES_DATE=:day)",
        R"(INSERT INTO D_REG_DTL SELECT B_REG_DTL.* FROM B_REG_DTL
LEFT JOIN B_REG ON B_REG_DTL.REG_ID=B_REG.REG_ID WHERE B_REG.SALES_DATE=:day)",
        R"(DELETE D_ADJ.* FROM D_ADJ WHERE D_ADJ.SALES_DATE=:day)",
        R"(DELETE D_ADJ_DTL.* FROM D_ADJ_DTL WHERE D_ADJ_DTL.SALES_DATE=:day)",
    };
    long total = 0;
    const bool taxRows = SaleTaxRows::Ready(db);
    // All or nothing: a day half reopened would have its settlement without its sales, or the reverse.
    Transaction transaction(db);
    // The tax of each sale comes back with it (not counted: the total is that of the sale statements).
    if (taxRows)
        SaleTaxRows::BringBack(db, salesDate);
    for (const char *statement : statements) {
        long affected = 0;
        db.EXEC(Sql(QString::fromLatin1(statement)).date("day", salesDate), &affected);
        total += affected;
    }
    transaction.commit();
    return total;
}

long CancelDailyAdj()
{
    return CancelDailyAdj(*gDb, gSalesDate);
}
