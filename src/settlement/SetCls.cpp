#include "settlement/SetCls.h"

#include "app/Clock.h"
#include "app/Common.h"
#include "app/Globals.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Format.h"
#include "data/clsDb.h"
#include "settlement/AdjGrid.h"
#include "tax/SaleTaxRows.h"

#include <QStringList>

namespace {

QString criteriaDate(double d)
{
    return QStringLiteral("#") + Format::date(d, QStringLiteral("yyyy-mm-dd hh:nn:ss")) + QStringLiteral("#");
}

QString rowDate(double d)
{
    return QStringLiteral("#") + Format::date(d, QStringLiteral("yyyy/mm/dd")) + QStringLiteral("#");
}

QString number(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? QStringLiteral("0") : v.toCurrency().toPlainText();
}

// A total as shown ("12,345") read back as an amount.
QString totalValue(const QString &caption)
{
    QString plain = caption;
    plain.remove(u',');
    return Currency::parse(plain).value_or(Currency()).toPlainText();
}

QString settlementInsert(const AdjGrid &grid, double salesDate, double now, const Variant &amtSum)
{
    QString sql = QStringLiteral("INSERT INTO D_ADJ (") + QStringLiteral(" SALES_DATE, ") + QStringLiteral(" ADJ_DTM, ")
        + QStringLiteral(" AMT_SUM, ");
    for (const char *prefix : {" AMT_", " PREV_", " CASH_", " CHG_", " POST_"}) {
        for (int i = 0; i < AdjGrid::Rows; ++i)
            sql += QString::fromLatin1(prefix) + AdjGrid::Suffix(i) + QStringLiteral(", ");
    }
    sql += QStringLiteral(" PREV_SUM, ") + QStringLiteral(" CASH_SUM, ") + QStringLiteral(" CHG_SUM, ")
        + QStringLiteral(" POST_SUM) ");
    sql += QStringLiteral(" VALUES( ") + rowDate(salesDate) + u',' + criteriaDate(now) + u',' + number(amtSum) + u',';
    for (int i = 0; i < AdjGrid::Rows; ++i)
        sql += AdjGrid::AmtValue(i).toPlainText() + u',';
    for (const auto *column : {&grid.PREV, &grid.CASH, &grid.CHG, &grid.POST}) {
        for (int i = 0; i < AdjGrid::Rows; ++i)
            sql += QString::number(AdjGrid::Count((*column)[i])) + u',';
    }
    sql += totalValue(grid.PREV_SUM) + u',' + totalValue(grid.CASH_SUM) + u',' + totalValue(grid.CHG_SUM) + u','
        + totalValue(grid.POST_SUM) + u')';
    return sql;
}

} // namespace

void RollbackOnFailure(clsData &db)
{
    // The failure that led here is the one to report; a rollback that fails as well (a lost connection)
    // leaves the transaction to the engine, which discards it.
    try {
        if (db.connection() && db.connection()->inTransaction())
            db.RollbackTrans();
    } catch (const std::exception &e) {
        WriteLog(QString::fromStdString(e.what()));
    }
}

bool SetCls(clsData &db, const AdjGrid &grid, double salesDate, double now)
{
    const QString d = criteriaDate(salesDate);
    try {
        // Made before the transaction when missing: on a server a CREATE would end it.
        const bool taxRows = SaleTaxRows::Ready(db);
        db.Begintrans();
        try {
            db.EXEC(QStringLiteral("DELETE D_ADJ.* FROM D_ADJ WHERE D_ADJ.SALES_DATE=") + d);

            Recordset rs = db.GetFwdOnlyRst(QStringLiteral("SELECT D_REG.SALES_DATE, SUM(D_REG.AMT_SUM) AS AMT_SUM")
                                            + QStringLiteral(" FROM D_REG WHERE D_REG.SALES_DATE=") + d
                                            + QStringLiteral(" GROUP BY D_REG.SALES_DATE"));
            // A day without sales leaves no settlement row.
            if (!rs.EOF_())
                db.EXEC(settlementInsert(grid, salesDate, now, rs.Fields(QStringLiteral("AMT_SUM"))));
            rs.Close();

            db.EXEC(QStringLiteral("DELETE D_ADJ_DTL.* FROM D_ADJ_DTL WHERE D_ADJ_DTL.SALES_DATE=") + d);
            Recordset dtl = db.GetFwdOnlyRst(
                QStringLiteral("SELECT ") + QStringLiteral(" D_REG.SALES_DATE, ") + QStringLiteral(" D_REG_DTL.FMR_ID, ")
                + QStringLiteral(" SUM(D_REG_DTL.QTY) AS SALES_QTY, ") + QStringLiteral(" SUM(D_REG_DTL.AMT) AS SALES_AMT ")
                + QStringLiteral(" FROM D_REG_DTL ") + QStringLiteral(" INNER JOIN D_REG ON D_REG.REG_ID=D_REG_DTL.REG_ID")
                + QStringLiteral(" WHERE D_REG.SALES_DATE=") + d
                + QStringLiteral(" GROUP BY D_REG.SALES_DATE, D_REG_DTL.FMR_ID"));
            for (; !dtl.EOF_(); dtl.MoveNext()) {
                db.EXEC(QStringLiteral("INSERT INTO D_ADJ_DTL (") + QStringLiteral(" SALES_DATE, ") + QStringLiteral(" FMR_ID, ")
                        + QStringLiteral(" SALES_QTY, ") + QStringLiteral(" SALES_AMT) ") + QStringLiteral(" VALUES( ")
                        + rowDate(salesDate) + u',' + number(dtl.Fields(QStringLiteral("FMR_ID"))) + u','
                        + number(dtl.Fields(QStringLiteral("SALES_QTY"))) + u','
                        + number(dtl.Fields(QStringLiteral("SALES_AMT"))) + u')');
            }
            dtl.Close();

            // The tax of each sale goes with it, found through the sales still in D_REG.
            if (taxRows)
                SaleTaxRows::MoveToBackup(db, salesDate);
            // The backup copy of the day replaces an earlier one (a day closed, reopened and closed again).
            db.EXEC(QStringLiteral("DELETE B_REG_DTL.* FROM B_REG_DTL ")
                    + QStringLiteral(" LEFT JOIN B_REG ON B_REG_DTL.REG_ID=B_REG.REG_ID")
                    + QStringLiteral(" WHERE B_REG.SALES_DATE=") + d);
            db.EXEC(QStringLiteral("DELETE B_REG.* FROM B_REG ") + QStringLiteral(" WHERE B_REG.SALES_DATE=") + d);
            db.EXEC(QStringLiteral("INSERT INTO B_REG ") + QStringLiteral(" SELECT D_REG.* ") + QStringLiteral(" FROM D_REG ")
                    + QStringLiteral(" WHERE D_REG.SALES_DATE=") + d);
            db.EXEC(QStringLiteral("INSERT INTO B_REG_DTL ") + QStringLiteral(" SELECT D_REG_DTL.* ")
                    + QStringLiteral(" FROM D_REG_DTL ") + QStringLiteral(" LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID")
                    + QStringLiteral(" WHERE D_REG.SALES_DATE=") + d);
            // Lines first: they are found through their header's sales date.
            db.EXEC(QStringLiteral("DELETE D_REG_DTL.* FROM D_REG_DTL ")
                    + QStringLiteral(" LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID")
                    + QStringLiteral(" WHERE D_REG.SALES_DATE=") + d);
            db.EXEC(QStringLiteral("DELETE D_REG.* FROM D_REG WHERE D_REG.SALES_DATE=") + d);
            db.CommitTrans();
            return true;
        } catch (...) {
            RollbackOnFailure(db);
            throw;
        }
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
    const QString d = criteriaDate(salesDate);
    const QStringList statements{
        QStringLiteral("DELETE D_REG_DTL.* FROM D_REG_DTL ") + QStringLiteral(" LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID")
            + QStringLiteral(" WHERE D_REG.SALES_DATE=") + d,
        QStringLiteral("DELETE D_REG.* FROM D_REG WHERE D_REG.SALES_DATE=") + d,
        QStringLiteral("INSERT INTO D_REG SELECT B_REG.* FROM B_REG WHERE B_REG.SALES_DATE=") + d,
        QStringLiteral("INSERT INTO D_REG_DTL ") + QStringLiteral(" SELECT B_REG_DTL.* ") + QStringLiteral(" FROM B_REG_DTL ")
            + QStringLiteral(" LEFT JOIN B_REG ON B_REG_DTL.REG_ID=B_REG.REG_ID") + QStringLiteral(" WHERE B_REG.SALES_DATE=") + d,
        QStringLiteral("DELETE D_ADJ.* FROM D_ADJ WHERE D_ADJ.SALES_DATE=") + d,
        QStringLiteral("DELETE D_ADJ_DTL.* FROM D_ADJ_DTL WHERE D_ADJ_DTL.SALES_DATE=") + d,
    };
    long total = 0;
    const bool taxRows = SaleTaxRows::Ready(db);
    // All or nothing: a day half reopened would have its settlement without its sales, or the reverse.
    db.Begintrans();
    try {
        // The tax of each sale comes back with it (not counted: the total is that of the sale statements).
        if (taxRows)
            SaleTaxRows::BringBack(db, salesDate);
        for (const QString &sql : statements) {
            long affected = 0;
            db.EXEC(sql, &affected);
            total += affected;
        }
        db.CommitTrans();
    } catch (...) {
        RollbackOnFailure(db);
        throw;
    }
    return total;
}

long CancelDailyAdj()
{
    return CancelDailyAdj(*gDb, gSalesDate);
}
