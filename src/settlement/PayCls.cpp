#include "settlement/PayCls.h"

#include "app/Common.h"
#include "app/Globals.h"
#include "data/DateValue.h"
#include "data/Format.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "settlement/ClosingRules.h"
#include "settlement/SetCls.h"

double gClsDate = 0;
double gPayDate = 0;

namespace {

const Currency kDefaultRate = Currency::fromRaw(1500); // 15 %
const Currency kFeeLimit = Currency::fromInt(30000);

QString criteriaDate(double d)
{
    return QStringLiteral("#") + Format::date(d, QStringLiteral("yyyy-mm-dd hh:nn:ss")) + QStringLiteral("#");
}

QString rowDate(double d)
{
    return QStringLiteral("#") + Format::date(d, QStringLiteral("yyyy/mm/dd")) + QStringLiteral("#");
}

Currency amount(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? Currency() : v.toCurrency();
}

double numeric(const Variant &v)
{
    if (v.isNull() || v.isEmpty())
        return 0;
    return v.isNumeric() ? v.toDouble() : Val(v.toString());
}

// An account field of the master row as an SQL text, NULL when the producer or the value is missing.
QString accountField(const Recordset *master, const char *column)
{
    if (!master)
        return QStringLiteral("NULL");
    const Variant v = master->Fields(QString::fromLatin1(column));
    return v.isNull() || v.isEmpty() ? QStringLiteral("NULL") : SqlDialect::text(v.toString());
}

} // namespace

PayAmounts ComputePay(Currency sales, Currency rate, bool inMaster, const Variant &fee1, const Variant &fee2)
{
    PayAmounts p;
    p.sales = sales;
    // Truncated toward zero to whole yen: the fraction stays with the producer.
    p.fee = Currency::fromInt((sales * rate).wholePart());
    p.pay = sales - p.fee;
    if (inMaster)
        p.bankFee = p.pay < kFeeLimit ? amount(fee1) : amount(fee2);
    p.real = p.pay - p.bankFee;
    return p;
}

Currency CommissionRate(clsData &master)
{
    const Variant v = master.GetCtrl(QStringLiteral("FEE_RT"));
    if (v.isNull() || v.isEmpty() || (v.kind() == Variant::Kind::String && v.toString().trimmed().isEmpty()))
        return kDefaultRate;
    return v.isNumeric() ? v.toCurrency() : Currency::fromDouble(Val(v.toString()));
}

bool PayClsDue(clsData &local, clsData &db, double salesDate, double &clsDate, double &payDate)
{
    if (numeric(local.GetCtrl(QStringLiteral("PAY_CLS"))) == 0)
        return false;
    const Variant oldest = db.DMin(QStringLiteral("SALES_DATE"), QStringLiteral("D_ADJ_DTL"),
                                   QStringLiteral("CLS_DATE IS NULL"));
    const double first = oldest.isNull() || oldest.isEmpty() ? salesDate : DateValue::dateOnly(oldest.toDate());
    const double k = GetClsDate(first);
    if (k > salesDate)
        return false;
    clsDate = k;
    payDate = GetPayDate(k);
    return true;
}

bool PayClsDue()
{
    return PayClsDue(*gIni, *gDb, gSalesDate, gClsDate, gPayDate);
}

bool PayCls(clsData &db, clsData &master, double clsDate, double payDate, Progress &progress)
{
    try {
        db.Begintrans();
        try {
            const Currency rate = CommissionRate(master);
            Recordset rs = db.GetFwdOnlyRst(
                QStringLiteral("SELECT ") + QStringLiteral(" D_ADJ_DTL.FMR_ID, ")
                + QStringLiteral(" Sum(D_ADJ_DTL.SALES_QTY) AS SALES_QTY, ")
                + QStringLiteral(" Sum(D_ADJ_DTL.SALES_AMT) AS SALES_AMT ") + QStringLiteral(" FROM D_ADJ_DTL")
                + QStringLiteral(" WHERE D_ADJ_DTL.CLS_DATE IS NULL ") + QStringLiteral(" AND D_ADJ_DTL.SALES_DATE <= ")
                + criteriaDate(clsDate) + QStringLiteral(" GROUP BY D_ADJ_DTL.FMR_ID"));
            progress.report(0, rs.RecordCount());
            for (int settled = 1; !rs.EOF_(); rs.MoveNext(), ++settled) {
                const QString fmrId = QString::number(amount(rs.Fields(QStringLiteral("FMR_ID"))).wholePart());
                const Currency qty = amount(rs.Fields(QStringLiteral("SALES_QTY")));
                Recordset fmr = master.GetFwdOnlyRst(QStringLiteral("SELECT M_FMR.* FROM M_FMR WHERE M_FMR.FMR_ID=") + fmrId);
                const bool inMaster = !fmr.EOF_();
                const PayAmounts p = ComputePay(amount(rs.Fields(QStringLiteral("SALES_AMT"))), rate, inMaster,
                                                inMaster ? fmr.Fields(QStringLiteral("FEE_1")) : Variant(),
                                                inMaster ? fmr.Fields(QStringLiteral("FEE_2")) : Variant());
                const Recordset *account = inMaster ? &fmr : nullptr;
                long stored = 0;
                db.EXEC(QStringLiteral("INSERT INTO D_PAY_DTL (") + QStringLiteral(" CLS_DATE, ") + QStringLiteral(" PAY_DATE, ")
                            + QStringLiteral(" FMR_ID, ") + QStringLiteral(" SALES_QTY, ") + QStringLiteral(" SALES_AMT, ")
                            + QStringLiteral(" FEE_AMT, ") + QStringLiteral(" PAY_AMT, ") + QStringLiteral(" BANK_NM, ")
                            + QStringLiteral(" BR_NM, ") + QStringLiteral(" ACC_KBN, ") + QStringLiteral(" ACC_NO, ")
                            + QStringLiteral(" ACC_NM, ") + QStringLiteral(" BANK_FEE, ") + QStringLiteral(" REAL_AMT) ")
                            + QStringLiteral(" VALUES( ") + rowDate(clsDate) + u',' + rowDate(payDate) + u',' + fmrId + u','
                            + qty.toPlainText() + u',' + p.sales.toPlainText() + u',' + p.fee.toPlainText() + u','
                            + p.pay.toPlainText() + u',' + accountField(account, "BANK_NM") + u','
                            + accountField(account, "BR_NM") + u',' + accountField(account, "ACC_KBN") + u','
                            + accountField(account, "ACC_NO") + u',' + accountField(account, "ACC_NM") + u','
                            + p.bankFee.toPlainText() + u',' + p.real.toPlainText() + u')',
                        &stored);
                if (stored > 0) {
                    db.EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET CLS_DATE=") + criteriaDate(clsDate)
                            + QStringLiteral(" WHERE D_ADJ_DTL.CLS_DATE IS NULL ") + QStringLiteral(" AND D_ADJ_DTL.SALES_DATE <= ")
                            + criteriaDate(clsDate) + QStringLiteral(" AND FMR_ID=") + fmrId);
                }
                fmr.Close();
                progress.report(settled, rs.RecordCount());
            }
            rs.Close();
            db.EXEC(QStringLiteral("INSERT INTO D_PAY ( ") + QStringLiteral(" CLS_DATE, ") + QStringLiteral(" PAY_DATE, ")
                    + QStringLiteral(" SALES_QTY_SUM, ") + QStringLiteral(" SALES_AMT_SUM, ") + QStringLiteral(" FEE_AMT_SUM, ")
                    + QStringLiteral(" PAY_AMT_SUM, ") + QStringLiteral(" BANK_FEE_SUM, ") + QStringLiteral(" REAL_AMT_SUM )")
                    + QStringLiteral(" SELECT ") + QStringLiteral(" D_PAY_DTL.CLS_DATE, ")
                    + QStringLiteral(" Max(D_PAY_DTL.PAY_DATE) AS PAY_DATE, ")
                    + QStringLiteral(" Sum(D_PAY_DTL.SALES_QTY) AS SALES_QTY_SUM, ")
                    + QStringLiteral(" Sum(D_PAY_DTL.SALES_AMT) AS SALES_AMT_SUM, ")
                    + QStringLiteral(" Sum(D_PAY_DTL.FEE_AMT) AS FEE_AMT_SUM, ")
                    + QStringLiteral(" Sum(D_PAY_DTL.PAY_AMT) AS PAY_AMT_SUM, ")
                    + QStringLiteral(" Sum(D_PAY_DTL.BANK_FEE) AS BANK_FEE_SUM, ")
                    + QStringLiteral(" Sum(D_PAY_DTL.REAL_AMT) AS REAL_AMT_SUM") + QStringLiteral(" FROM D_PAY_DTL")
                    + QStringLiteral(" WHERE D_PAY_DTL.CLS_DATE=") + criteriaDate(clsDate)
                    + QStringLiteral(" GROUP BY D_PAY_DTL.CLS_DATE;"));
            db.CommitTrans();
            return true;
        } catch (...) {
            RollbackOnFailure(db);
            throw;
        }
    } catch (const std::exception &e) {
        WriteLog(QString::fromStdString(e.what()));
        return false;
    }
}

bool PayCls(Progress &progress)
{
    return PayCls(*gDb, *gMst, gClsDate, gPayDate, progress);
}
