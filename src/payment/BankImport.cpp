#include "payment/BankImport.h"

#include "data/Recordset.h"
#include "data/Sql.h"
#include "data/SqlDialect.h"
#include "data/Transaction.h"
#include "data/clsData.h"
#include "payment/BankMaster.h"
#include "payment/ZenginCodeData.h"

#include <QSet>

namespace BankImport {

namespace {

// Rows per INSERT: a few hundred rows a statement keep a server import to a few dozen round trips.
constexpr int kRowsPerStatement = 400;

void insertRows(clsData &mst, const QString &head, const QStringList &rows)
{
    for (qsizetype i = 0; i < rows.size(); i += kRowsPerStatement)
        mst.EXEC(head + rows.mid(i, kRowsPerStatement).join(u','));
}

QString t(const QString &text)
{
    return SqlDialect::text(text);
}

QString textOf(const Recordset &rs, const QString &field)
{
    const Variant v = rs.Fields(field);
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

// Producers with a bank name and no codes yet, by code.
QList<Producer> producersWithoutCodes(clsData &mst)
{
    QSet<qint32> coded;
    for (Recordset rs = mst.GetFwdOnlyRst(QStringLiteral("SELECT FMR_ID FROM M_FMR_BANK")); !rs.EOF_(); rs.MoveNext())
        coded.insert(rs.Fields(0).toLong());
    QList<Producer> producers;
    Recordset rs = mst.GetFwdOnlyRst(QStringLiteral("SELECT FMR_ID, FMR_NM, BANK_NM, BR_NM FROM M_FMR ORDER BY FMR_ID"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        const Producer p{rs.Fields(QStringLiteral("FMR_ID")).toLong(), textOf(rs, QStringLiteral("FMR_NM")),
                         textOf(rs, QStringLiteral("BANK_NM")), textOf(rs, QStringLiteral("BR_NM"))};
        if (!coded.contains(p.fmrId) && !p.bankName.trimmed().isEmpty())
            producers.append(p);
    }
    return producers;
}

} // namespace

Result Run(clsData &mst, const ZenginCodeData &data)
{
    BankMaster::EnsureTables(mst);
    Result result;
    Transaction transaction(mst);
    mst.EXEC(QStringLiteral("DELETE FROM M_BANK_BR"));
    mst.EXEC(QStringLiteral("DELETE FROM M_BANK"));
    QStringList rows;
    for (const ZenginCodeData::Bank &b : data.banks)
        rows << u'(' + t(b.code) + u',' + t(b.name) + u',' + t(b.kana) + u')';
    insertRows(mst, QStringLiteral("INSERT INTO M_BANK (BANK_CD, BANK_NM, BANK_KANA) VALUES "), rows);
    rows.clear();
    for (const ZenginCodeData::Branch &b : data.branches)
        rows << u'(' + t(b.bankCode) + u',' + t(b.code) + u',' + t(b.name) + u',' + t(b.kana) + u')';
    insertRows(mst, QStringLiteral("INSERT INTO M_BANK_BR (BANK_CD, BR_CD, BR_NM, BR_KANA) VALUES "), rows);
    result.banks = int(data.banks.size());
    result.branches = int(data.branches.size());

    const BankMatch match(data);
    for (const Producer &p : producersWithoutCodes(mst)) {
        const BankMatch::Result found = match.find(p.bankName, p.branchName);
        if (found.outcome != BankMatch::Outcome::Unique) {
            result.undecided.append({p, describe(found.outcome, found.candidates)});
            continue;
        }
        BankMaster::SaveProducerCodes(mst, p.fmrId, {found.bankCode, found.branchCode});
        result.proposed.append({p, found.bankCode, found.branchCode});
    }
    transaction.commit();
    return result;
}

} // namespace BankImport
