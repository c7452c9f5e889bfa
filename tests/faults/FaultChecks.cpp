#include "FaultChecks.h"

#include "data/Globals.h"
#include "data/clsDb.h"

#include <QSet>

namespace FaultChecks {

namespace {

QString compareWithLedger(const RegisterDriver::Ledger &ledger, const QString &header, const QString &lines)
{
    QMap<qint32, qint32> numbers;
    Recordset h = gDb->GetFwdOnlyRst(QStringLiteral("SELECT REG_ID, REG_NO, DTL_CNT, AMT_SUM FROM %1").arg(header));
    for (; !h.EOF_(); h.MoveNext()) {
        const qint32 id = h.Fields(0).toLong();
        numbers.insert(id, h.Fields(1).toLong());
        const auto made = ledger.sales.value(id);
        if (!ledger.sales.contains(id))
            continue;
        const auto sale = RegisterDriver::makeSale(made.first, made.second);
        if (h.Fields(2).toLong() != sale.header.DTL_CNT || h.Fields(3).toCurrency() != sale.header.AMT_SUM)
            return QStringLiteral("REG_ID %1: header differs from sale %2/%3").arg(id).arg(made.first).arg(made.second);
    }
    for (auto it = ledger.sales.cbegin(); it != ledger.sales.cend(); ++it) {
        if (!numbers.contains(it.key()))
            return QStringLiteral("REG_ID %1 (sale %2/%3) reported stored but missing").arg(it.key()).arg(it->first).arg(it->second);
        if (numbers.value(it.key()) != ledger.numbers.value(it.key()))
            return QStringLiteral("REG_ID %1: REG_NO %2 stored, %3 reported").arg(it.key()).arg(numbers.value(it.key()))
                .arg(ledger.numbers.value(it.key()));
    }
    QMap<qint32, QStringList> stored;
    Recordset d = gDb->GetFwdOnlyRst(
        QStringLiteral("SELECT REG_ID, DTL_NO, BCD_NM, FMR_ID, QTY, AMT FROM %1 ORDER BY REG_ID, DTL_NO").arg(lines));
    for (; !d.EOF_(); d.MoveNext()) {
        stored[d.Fields(0).toLong()] << QStringLiteral("%1|%2|%3|%4|%5")
                                            .arg(d.Fields(1).toLong())
                                            .arg(d.Fields(2).toString())
                                            .arg(d.Fields(3).toLong())
                                            .arg(d.Fields(4).toCurrency().toPlainText(), d.Fields(5).toCurrency().toPlainText());
    }
    for (auto it = ledger.sales.cbegin(); it != ledger.sales.cend(); ++it) {
        QStringList expected;
        for (const DtlRec &l : RegisterDriver::makeSale(it->first, it->second).lines)
            expected << QStringLiteral("%1|%2|%3|%4|%5").arg(l.DTL_NO).arg(l.BCD_NM).arg(l.FMR_ID)
                            .arg(l.QTY.toPlainText(), l.AMT.toPlainText());
        if (stored.value(it.key()) != expected)
            return QStringLiteral("REG_ID %1: lines %2, expected %3").arg(it.key())
                .arg(stored.value(it.key()).join(u';'), expected.join(u';'));
    }
    return QString();
}

} // namespace

QString wholeSales(const RegisterDriver::Ledger *ledger, const QString &header, const QString &lines)
{
    if (const qint32 broken = count(header, QStringLiteral("DTL_CNT<>(SELECT COUNT(*) FROM %2 WHERE %2.REG_ID=%1.REG_ID)")
                                                .arg(header, lines)))
        return QStringLiteral("%1 sales of %2 without their DTL_CNT lines").arg(broken).arg(header);
    if (const qint32 orphans = count(lines, QStringLiteral("REG_ID NOT IN (SELECT REG_ID FROM %1)").arg(header)))
        return QStringLiteral("%1 lines of %2 without their sale").arg(orphans).arg(lines);
    return ledger ? compareWithLedger(*ledger, header, lines) : QString();
}

QString integrity()
{
    QStringList found;
    Recordset rs = gDb->GetFwdOnlyRst(QStringLiteral("PRAGMA integrity_check"));
    for (; !rs.EOF_(); rs.MoveNext())
        found << rs.Fields(0).toString();
    return found.join(u'\n');
}

} // namespace FaultChecks
