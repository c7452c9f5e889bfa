#include "support/Rows.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "data/Connection.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

namespace Rows {

namespace {

// A value as the tests compare it: a date at midnight without its time, a number as money would show it.
QString text(const Variant &v)
{
    if (v.isNull())
        return QStringLiteral("<null>");
    if (v.kind() == Variant::Kind::Date)
        return Format::date(v.toDate(), QStringLiteral("yyyy-mm-dd hh:nn:ss")).remove(QStringLiteral(" 00:00:00"));
    return v.kind() == Variant::Kind::String ? v.toString() : v.toCurrency().toPlainText();
}

QString triggerName(const QString &kind, const QString &table)
{
    return QStringLiteral("fail_%1_%2").arg(kind.toLower(), table.toLower());
}

} // namespace

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
    gDb->EXEC(Sql(R"(INSERT INTO D_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG)
VALUES (:id, :id, :time, :day, 'レジ''1', :count, :sum, :sum, 0))")
                  .number("id", id).date("time", salesDate + 0.4).date("day", salesDate)
                  .number("count", qint64(lines.size())).money("sum", total));
    int no = 0;
    for (const Line &l : lines)
        gDb->EXEC(Sql(R"(INSERT INTO D_REG_DTL (REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC,
QTY, UNIT_ID, AMT) VALUES (:id, :no, '4900000000000', 1, 'Farmer''s なす', :fmr, :farm, :price, 0, :price, :qty, 1, :amt))")
                      .number("id", id).number("no", ++no).number("fmr", l.fmrId).text("farm", kFarmName)
                      .money("price", money(l.amount) / money(l.qty)).raw("qty", l.qty).raw("amt", l.amount));
}

void producer(int fmrId, const char *fee1, const char *fee2)
{
    gMst->EXEC(Sql(R"(INSERT INTO M_FMR (FMR_ID, FMR_NM, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, FEE_1, FEE_2)
VALUES (:id, :farm, :bank, '本店', '普通', :account, 'ｵﾆｰﾙ''ﾉｳｴﾝ', :fee1, :fee2))")
                   .number("id", fmrId).text("farm", kFarmName).text("bank", kBankName)
                   .text("account", QStringLiteral("%1").arg(fmrId, 7, 10, QLatin1Char('0')))
                   .raw("fee1", fee1).raw("fee2", fee2));
}

void adjDtl(double salesDate, int fmrId, const char *qty, const char *amount)
{
    gDb->EXEC(Sql(R"(INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT) VALUES (:day, :fmr, :qty, :amt))")
                  .date("day", salesDate).number("fmr", fmrId).raw("qty", qty).raw("amt", amount));
}

qint32 count(const QString &table, const QString &criteria)
{
    return gDb->DCount(QStringLiteral("*"), table, criteria).toLong();
}

QString value(const QString &sql)
{
    Recordset rs = gDb->GetFwdOnlyRst(sql);
    return rs.EOF_() ? QStringLiteral("<none>") : text(rs.Fields(0));
}

QString row(const QString &sql)
{
    QStringList rows;
    for (Recordset rs = gDb->GetFwdOnlyRst(sql); !rs.EOF_(); rs.MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.FieldCount(); ++i)
            fields << text(rs.Fields(i));
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

void failOn(const QString &kind, const QString &table)
{
    const bool sqlite = gDb->connection()->engine() == Connection::Engine::Sqlite;
    gDb->EXEC(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4")
                  .arg(triggerName(kind, table), kind, table,
                       sqlite ? QStringLiteral("BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END")
                              : QStringLiteral("FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'disk I/O error'")));
}

void stopFailing(const QString &kind, const QString &table)
{
    gDb->EXEC(QStringLiteral("DROP TRIGGER ") + triggerName(kind, table));
}

} // namespace Rows
