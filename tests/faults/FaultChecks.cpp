#include "FaultChecks.h"

#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"

namespace FaultChecks {

namespace {

QString compareWithLedger(const RegisterDriver::Ledger &ledger)
{
    for (auto it = ledger.sales.cbegin(); it != ledger.sales.cend(); ++it) {
        const auto sale = RegisterDriver::makeSale(it->first, it->second);
        QStringList expected{QStringLiteral("%1|%2|%3").arg(ledger.numbers.value(it.key())).arg(sale.header.DTL_CNT)
                                 .arg(sale.header.AMT_SUM.toPlainText())};
        for (const DtlRec &l : sale.lines)
            expected << QStringLiteral("%1|%2|%3|%4|%5").arg(l.DTL_NO).arg(l.BCD_NM).arg(l.FMR_ID)
                            .arg(l.QTY.toPlainText(), l.AMT.toPlainText());
        const QString stored =
            Rows::row(QStringLiteral("SELECT REG_NO, DTL_CNT, AMT_SUM FROM D_REG WHERE REG_ID=%1").arg(it.key())) + u'\n'
            + Rows::row(QStringLiteral("SELECT DTL_NO, BCD_NM, FMR_ID, QTY, AMT FROM D_REG_DTL WHERE REG_ID=%1 "
                                       "ORDER BY DTL_NO").arg(it.key()));
        if (stored != expected.join(u'\n'))
            return QStringLiteral("REG_ID %1 (sale %2/%3) reported stored as\n%4\nbut found\n%5")
                .arg(it.key()).arg(it->first).arg(it->second).arg(expected.join(u'\n'), stored);
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
    if (const QString twice = Rows::value(QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT REG_NO) FROM ") + header);
        twice != u"0")
        return QStringLiteral("%1 REG_NO of %2 given twice").arg(twice, header);
    return ledger ? compareWithLedger(*ledger) : QString();
}

QString numbered(int n)
{
    const QString found = Rows::row(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT REG_NO), MIN(REG_ID), MAX(REG_ID), "
                                                   "MIN(REG_NO), MAX(REG_NO) FROM D_REG"));
    const QString expected = QStringLiteral("%1|%1|1|%1|1|%1").arg(n);
    return found == expected ? QString() : QStringLiteral("count|REG_NO|REG_ID from, to|REG_NO from, to: %1").arg(found);
}

QString closeState()
{
    return Rows::row(Sql(R"(SELECT (SELECT COUNT(*) FROM D_REG WHERE SALES_DATE=:day),
(SELECT COUNT(*) FROM B_REG WHERE SALES_DATE=:day), (SELECT COUNT(*) FROM B_REG_DTL),
(SELECT COUNT(*) FROM D_ADJ WHERE SALES_DATE=:day), (SELECT COUNT(*) FROM D_ADJ_DTL WHERE SALES_DATE=:day),
(SELECT SUM(AMT_SUM) FROM D_ADJ WHERE SALES_DATE=:day), (SELECT SUM(SALES_AMT) FROM D_ADJ_DTL WHERE SALES_DATE=:day))")
                         .date("day", RegisterDriver::salesDate()));
}

} // namespace FaultChecks
