#include "payment/PayStatement.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "base/Variant.h"
#include "data/Recordset.h"
#include "data/Sql.h"
#include "data/clsData.h"

#include <QHash>

namespace {

Currency moneyOf(const Recordset &rs, const QString &field)
{
    const Variant v = rs.Fields(field);
    return v.isNull() || v.isEmpty() ? Currency() : v.toCurrency();
}

QString textOf(const Recordset &rs, const QString &field)
{
    const Variant v = rs.Fields(field);
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

// The rows of one producer (fmrId > 0) or of all, within `rows` (a condition already written).
QString ofProducer(const QString &rows, qint32 fmrId)
{
    return fmrId > 0 ? Sql(R"(:rows AND FMR_ID=:fmr)").raw("rows", rows).number("fmr", fmrId) : rows;
}

// The shop's commission rate as the payment closing reads it: Null is 15 %.
Currency shopRate(clsData &mst)
{
    const Variant rate = mst.GetCtrl(QStringLiteral("FEE_RT"));
    if (rate.isNull() || rate.isEmpty())
        return Currency::fromRaw(1500);
    try {
        return rate.toCurrency();
    } catch (const std::exception &) {
        return Currency::fromRaw(1500);
    }
}

} // namespace

PayStatementSet PayStatementSet::Load(clsData &db, clsData &mst, double closingDate, qint32 fmrId)
{
    PayStatementSet set;
    set.closingDate = closingDate;
    Recordset pay = db.GetFwdOnlyRst(Sql(R"(SELECT PAY_DATE FROM D_PAY WHERE CLS_DATE=:cls)").date(QStringLiteral("cls"), closingDate));
    if (pay.EOF_()) {
        set.error = Format::date(closingDate, QStringLiteral("yyyy年m月d日")) + QStringLiteral("締の支払締処理がありません。");
        return set;
    }
    set.payDate = pay.Fields(QStringLiteral("PAY_DATE")).toDate();
    const Variant shop = mst.GetCtrl(QStringLiteral("COM_NM"));
    set.shopName = shop.isNull() || shop.isEmpty() ? QString() : shop.toString();

    const QString cls = Sql(R"(CLS_DATE=:cls)").date(QStringLiteral("cls"), closingDate);
    const Variant previous = db.DMax(QStringLiteral("CLS_DATE"), QStringLiteral("D_PAY"), Sql(R"(CLS_DATE<:cls)").date(QStringLiteral("cls"), closingDate));
    const Variant first = db.DMin(QStringLiteral("SALES_DATE"), QStringLiteral("D_ADJ_DTL"), cls);
    set.periodFrom = closingDate;
    if (!first.isNull())
        set.periodFrom = DateValue::dateOnly(first.toDate());
    if (!previous.isNull())
        set.periodFrom = qMin(set.periodFrom, DateValue::dateOnly(previous.toDate()) + 1);

    QHash<qint32, QString> names;
    for (Recordset rs = mst.GetFwdOnlyRst(Sql(R"(SELECT FMR_ID, FMR_NM FROM M_FMR WHERE :rows)")
                                              .raw("rows", ofProducer(QStringLiteral("FMR_ID>0"), fmrId)));
         !rs.EOF_(); rs.MoveNext())
        names.insert(rs.Fields(0).toLong(), textOf(rs, QStringLiteral("FMR_NM")));

    const Currency rate = shopRate(mst);
    QHash<qint32, qsizetype> indexOf;
    Recordset rs = db.GetFwdOnlyRst(
        Sql(R"(SELECT D_PAY_DTL.* FROM D_PAY_DTL WHERE :rows ORDER BY FMR_ID)").raw("rows", ofProducer(cls, fmrId)));
    for (; !rs.EOF_(); rs.MoveNext()) {
        PayStatement s;
        s.fmrId = Nz(rs.Fields(QStringLiteral("FMR_ID")), 0).toLong();
        s.fmrName = names.value(s.fmrId);
        s.salesQty = moneyOf(rs, QStringLiteral("SALES_QTY"));
        s.salesAmt = moneyOf(rs, QStringLiteral("SALES_AMT"));
        s.feeAmt = moneyOf(rs, QStringLiteral("FEE_AMT"));
        // The closing stored no rate: the shop's rate is shown only where it gives exactly this commission.
        if (Currency::fromInt((s.salesAmt * rate).wholePart()) == s.feeAmt)
            s.feeRate = rate;
        s.payAmt = moneyOf(rs, QStringLiteral("PAY_AMT"));
        s.bankFee = moneyOf(rs, QStringLiteral("BANK_FEE"));
        s.realAmt = moneyOf(rs, QStringLiteral("REAL_AMT"));
        s.bankName = textOf(rs, QStringLiteral("BANK_NM"));
        s.branchName = textOf(rs, QStringLiteral("BR_NM"));
        s.accountKind = textOf(rs, QStringLiteral("ACC_KBN"));
        s.accountNo = textOf(rs, QStringLiteral("ACC_NO"));
        s.accountName = textOf(rs, QStringLiteral("ACC_NM"));
        indexOf.insert(s.fmrId, set.statements.size());
        set.statements.append(s);
    }
    if (set.statements.isEmpty()) {
        set.error = fmrId > 0 ? QStringLiteral("生産者 %1 はこの支払締にありません。").arg(fmrId)
                              : QStringLiteral("この支払締に生産者がありません。");
        return set;
    }
    Recordset days = db.GetFwdOnlyRst(
        Sql(R"(SELECT FMR_ID, SALES_DATE, SALES_QTY, SALES_AMT FROM D_ADJ_DTL WHERE :rows ORDER BY FMR_ID, SALES_DATE)")
            .raw("rows", ofProducer(cls, fmrId)));
    for (; !days.EOF_(); days.MoveNext()) {
        const auto it = indexOf.constFind(Nz(days.Fields(QStringLiteral("FMR_ID")), 0).toLong());
        if (it == indexOf.constEnd())
            continue;
        set.statements[*it].days.append({DateValue::dateOnly(days.Fields(QStringLiteral("SALES_DATE")).toDate()),
                                         moneyOf(days, QStringLiteral("SALES_QTY")), moneyOf(days, QStringLiteral("SALES_AMT"))});
    }
    return set;
}
