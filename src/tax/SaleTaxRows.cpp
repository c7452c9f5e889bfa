#include "tax/SaleTaxRows.h"

#include "base/Common.h"
#include "data/AddedTables.h"
#include "data/DbError.h"
#include "data/Recordset.h"
#include "data/Sql.h"
#include "data/SqlDialect.h"
#include "data/clsData.h"

namespace SaleTaxRows {

namespace {

const QStringList &tables()
{
    static const QStringList names{QStringLiteral("D_REG_TAX"), QStringLiteral("D_REG_DTL_TAX"), QStringLiteral("B_REG_TAX"),
                                   QStringLiteral("B_REG_DTL_TAX")};
    return names;
}

Currency moneyOf(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? Currency() : v.toCurrency();
}

// The day's tax rows go to the backup tables, replacing an earlier copy of the day and any copy of a sale
// that is open again.
const char *const kMoveToBackup[] = {
    R"(DELETE FROM B_REG_TAX WHERE REG_ID IN (SELECT REG_ID FROM B_REG WHERE SALES_DATE=:day)
        OR REG_ID IN (SELECT REG_ID FROM D_REG WHERE SALES_DATE=:day))",
    R"(DELETE FROM B_REG_DTL_TAX WHERE REG_ID IN (SELECT REG_ID FROM B_REG WHERE SALES_DATE=:day)
        OR REG_ID IN (SELECT REG_ID FROM D_REG WHERE SALES_DATE=:day))",
    R"(INSERT INTO B_REG_TAX (REG_ID, TAX_RT, AMT, TAX) SELECT REG_ID, TAX_RT, AMT, TAX FROM D_REG_TAX
        WHERE REG_ID IN (SELECT REG_ID FROM D_REG WHERE SALES_DATE=:day))",
    R"(INSERT INTO B_REG_DTL_TAX (REG_ID, DTL_NO, TAX_RT) SELECT REG_ID, DTL_NO, TAX_RT FROM D_REG_DTL_TAX
        WHERE REG_ID IN (SELECT REG_ID FROM D_REG WHERE SALES_DATE=:day))",
    R"(DELETE FROM D_REG_TAX WHERE REG_ID IN (SELECT REG_ID FROM D_REG WHERE SALES_DATE=:day))",
    R"(DELETE FROM D_REG_DTL_TAX WHERE REG_ID IN (SELECT REG_ID FROM D_REG WHERE SALES_DATE=:day))",
};

// The day's tax rows come back from the backup tables, replacing those of the day's open sales.
const char *const kBringBack[] = {
    R"(DELETE FROM D_REG_TAX WHERE REG_ID IN (SELECT REG_ID FROM D_REG WHERE SALES_DATE=:day)
        OR REG_ID IN (SELECT REG_ID FROM B_REG WHERE SALES_DATE=:day))",
    R"(DELETE FROM D_REG_DTL_TAX WHERE REG_ID IN (SELECT REG_ID FROM D_REG WHERE SALES_DATE=:day)
        OR REG_ID IN (SELECT REG_ID FROM B_REG WHERE SALES_DATE=:day))",
    R"(INSERT INTO D_REG_TAX (REG_ID, TAX_RT, AMT, TAX) SELECT REG_ID, TAX_RT, AMT, TAX FROM B_REG_TAX
        WHERE REG_ID IN (SELECT REG_ID FROM B_REG WHERE SALES_DATE=:day))",
    R"(INSERT INTO D_REG_DTL_TAX (REG_ID, DTL_NO, TAX_RT) SELECT REG_ID, DTL_NO, TAX_RT FROM B_REG_DTL_TAX
        WHERE REG_ID IN (SELECT REG_ID FROM B_REG WHERE SALES_DATE=:day))",
};

template <std::size_t N> void runAll(clsData &db, const char *const (&statements)[N], double salesDate)
{
    for (const char *statement : statements)
        db.EXEC(Sql(QString::fromLatin1(statement)).date(QStringLiteral("day"), salesDate));
}

} // namespace

bool Ready(clsData &db)
{
    if (AddedTables::Exist(db, tables()))
        return true;
    try {
        AddedTables::Ensure(db, tables());
        return true;
    } catch (const DbError &e) {
        WriteLog(QStringLiteral("消費税の記録テーブルを作成できません: ") + e.description());
    }
    return AddedTables::Exist(db, tables());
}

void Insert(clsData &db, qint32 regId, const SaleTax &tax)
{
    // One statement per table, whatever the number of lines: on a server each statement is a round trip
    // while the sale holds its lock.
    QStringList rates;
    for (const SaleTax::Rate &r : tax.rates())
        rates << QStringLiteral("(%1,%2,%3,%4)").arg(regId).arg(SqlDialect::money(r.rate), SqlDialect::money(r.amount),
                                                     SqlDialect::money(r.tax));
    QStringList lines;
    for (auto it = tax.lineRates().cbegin(); it != tax.lineRates().cend(); ++it)
        lines << QStringLiteral("(%1,%2,%3)").arg(regId).arg(it.key()).arg(SqlDialect::money(it.value()));
    if (!rates.isEmpty())
        db.EXEC(Sql(R"(INSERT INTO D_REG_TAX (REG_ID, TAX_RT, AMT, TAX) VALUES :rows)").raw(QStringLiteral("rows"), rates.join(u',')));
    if (!lines.isEmpty())
        db.EXEC(Sql(R"(INSERT INTO D_REG_DTL_TAX (REG_ID, DTL_NO, TAX_RT) VALUES :rows)").raw(QStringLiteral("rows"), lines.join(u',')));
}

std::optional<SaleTax> Load(clsData &db, qint32 regId)
{
    if (!AddedTables::Exist(db, {QStringLiteral("D_REG_TAX"), QStringLiteral("D_REG_DTL_TAX")}))
        return std::nullopt;
    SaleTax tax;
    Recordset rates = db.GetFwdOnlyRst(Sql(R"(SELECT TAX_RT, AMT, TAX FROM D_REG_TAX WHERE REG_ID=:id)").number(QStringLiteral("id"), regId));
    for (; !rates.EOF_(); rates.MoveNext())
        tax.addRate({moneyOf(rates.Fields(QStringLiteral("TAX_RT"))), moneyOf(rates.Fields(QStringLiteral("AMT"))),
                     moneyOf(rates.Fields(QStringLiteral("TAX")))});
    if (tax.rates().isEmpty())
        return std::nullopt;
    Recordset lines = db.GetFwdOnlyRst(Sql(R"(SELECT DTL_NO, TAX_RT FROM D_REG_DTL_TAX WHERE REG_ID=:id)").number(QStringLiteral("id"), regId));
    for (; !lines.EOF_(); lines.MoveNext())
        tax.setLineRate(lines.Fields(QStringLiteral("DTL_NO")).toLong(), moneyOf(lines.Fields(QStringLiteral("TAX_RT"))));
    return tax;
}

void MoveToBackup(clsData &db, double salesDate)
{
    runAll(db, kMoveToBackup, salesDate);
}

void BringBack(clsData &db, double salesDate)
{
    runAll(db, kBringBack, salesDate);
}

} // namespace SaleTaxRows
