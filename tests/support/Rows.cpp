#include "support/Rows.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "data/Connection.h"
#include "data/Globals.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

namespace Rows {

Currency money(const char *text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

double day(int year, int month, int dayOfMonth)
{
    return DateValue::fromParts(year, month, dayOfMonth);
}

void sale(int id, double salesDate, std::initializer_list<Line> lines)
{
    Currency total;
    for (const Line &l : lines)
        total += money(l.amount);
    gDb->EXEC(QStringLiteral("INSERT INTO D_REG ( REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG) "
                             "VALUES (%1,%1,%2,%3,%4,%5,%6,%6,0)")
                  .arg(id)
                  .arg(SqlDialect::date(salesDate + 0.4), SqlDialect::date(salesDate), SqlDialect::text(QStringLiteral("レジ'1")))
                  .arg(int(lines.size()))
                  .arg(total.toPlainText()));
    int no = 0;
    for (const Line &l : lines) {
        ++no;
        gDb->EXEC(QStringLiteral("INSERT INTO D_REG_DTL ( REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, "
                                 "PRC, QTY, UNIT_ID, AMT) VALUES (%1,%2,'4900000000000',1,%3,%4,%5,%6,0,%6,%7,1,%8)")
                      .arg(id).arg(no)
                      .arg(SqlDialect::text(QStringLiteral("Farmer's なす")))
                      .arg(l.fmrId)
                      .arg(SqlDialect::text(kFarmName))
                      .arg((money(l.amount) / money(l.qty)).toPlainText(), QString::fromLatin1(l.qty),
                           QString::fromLatin1(l.amount)));
    }
}

void producer(int fmrId, const char *fee1, const char *fee2)
{
    gMst->EXEC(QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, FEE_1, FEE_2) "
                              "VALUES (%1, %2, %3, %4, %5, %6, %7, %8, %9)")
                   .arg(fmrId)
                   .arg(SqlDialect::text(kFarmName), SqlDialect::text(kBankName), SqlDialect::text(QStringLiteral("本店")),
                        SqlDialect::text(QStringLiteral("普通")), SqlDialect::text(QStringLiteral("%1").arg(fmrId, 7, 10, QLatin1Char('0'))),
                        SqlDialect::text(QStringLiteral("ｵﾆｰﾙ'ﾉｳｴﾝ")), QString::fromLatin1(fee1), QString::fromLatin1(fee2)));
}

void adjDtl(double salesDate, int fmrId, const char *qty, const char *amount)
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT) VALUES (%1, %2, %3, %4)")
                  .arg(SqlDialect::date(salesDate)).arg(fmrId).arg(QString::fromLatin1(qty), QString::fromLatin1(amount)));
}

qint32 count(const QString &table, const QString &criteria)
{
    return gDb->DCount(QStringLiteral("*"), table, criteria).toLong();
}

QString value(const QString &sql)
{
    Recordset rs = gDb->GetFwdOnlyRst(sql);
    if (rs.EOF_())
        return QStringLiteral("<none>");
    const Variant v = rs.Fields(0);
    if (v.isNull())
        return QStringLiteral("<null>");
    if (v.kind() == Variant::Kind::Date)
        return Format::date(v.toDate(), QStringLiteral("yyyy-mm-dd"));
    if (v.kind() != Variant::Kind::String)
        return v.toCurrency().toPlainText();
    return v.toString();
}

QString row(const QString &sql)
{
    QStringList rows;
    for (Recordset rs = gDb->GetFwdOnlyRst(sql); !rs.EOF_(); rs.MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const Variant v = rs.Fields(i);
            if (v.isNull())
                fields << QStringLiteral("<null>");
            else if (v.kind() == Variant::Kind::Date)
                fields << Format::date(v.toDate(), QStringLiteral("yyyy-mm-dd hh:nn:ss")).remove(QStringLiteral(" 00:00:00"));
            else
                fields << (v.kind() == Variant::Kind::String ? v.toString() : v.toCurrency().toPlainText());
        }
        rows << fields.join(u'|');
    }
    return rows.join(u'\n');
}

QString on(const QString &column, double date)
{
    return column + QStringLiteral("=#") + Format::date(date, QStringLiteral("yyyy-mm-dd hh:nn:ss")) + u'#';
}

void master(const char *key, const QString &value)
{
    gMst->SaveCtrl(QString::fromLatin1(key), Variant(value));
}

void local(const char *key, const QString &value)
{
    gIni->SaveCtrl(QString::fromLatin1(key), Variant(value));
}

namespace {

QString triggerName(const QString &kind, const QString &table)
{
    return QStringLiteral("fail_%1_%2").arg(kind.toLower(), table.toLower());
}

} // namespace

void failOn(const QString &kind, const QString &table)
{
    const QString name = triggerName(kind, table);
    if (gDb->connection()->engine() == Connection::Engine::Sqlite)
        gDb->EXEC(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END")
                      .arg(name, kind, table));
    else
        gDb->EXEC(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW "
                                 "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'disk I/O error'")
                      .arg(name, kind, table));
}

void stopFailing(const QString &kind, const QString &table)
{
    gDb->EXEC(QStringLiteral("DROP TRIGGER ") + triggerName(kind, table));
}

} // namespace Rows
