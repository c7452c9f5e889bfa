#include "data/Schema.h"

#include <QHash>
#include <QRegularExpression>

namespace Schema {
namespace {

using T = Type;

QList<Column> saleHeader()
{
    return {{"REG_ID", T::Integer}, {"REG_NO", T::Integer}, {"REG_DTM", T::Date}, {"SALES_DATE", T::Date},
            {"REG_USER", T::Text, 50}, {"DTL_CNT", T::Integer}, {"AMT_SUM", T::Money}, {"RCV", T::Money},
            {"CHG", T::Money}};
}

QList<Column> saleLine()
{
    return {{"REG_ID", T::Integer}, {"DTL_NO", T::Integer}, {"BCD", T::Text, 20}, {"PRD_ID", T::Integer},
            {"BCD_NM", T::Text, 100}, {"FMR_ID", T::Integer}, {"FMR_NM", T::Text, 50}, {"O_PRC", T::Money},
            {"D_PRC", T::Money}, {"PRC", T::Money}, {"QTY", T::Money}, {"UNIT_ID", T::Integer},
            {"AMT", T::Money}};
}

// The tax of a sale as it was charged, stored with the sale (tax/SaleTaxRows): per rate the amount and the
// tax it contains, and the rate of each line.
QList<Column> saleTax()
{
    return {{"REG_ID", T::Integer}, {"TAX_RT", T::Money}, {"AMT", T::Money}, {"TAX", T::Money}};
}

QList<Column> lineTax()
{
    return {{"REG_ID", T::Integer}, {"DTL_NO", T::Integer}, {"TAX_RT", T::Money}};
}

QList<Column> settlement()
{
    QList<Column> columns{{"SALES_DATE", T::Date}, {"ADJ_DTM", T::Date}, {"AMT_SUM", T::Money}};
    for (const char *group : {"AMT_", "PREV_", "CASH_", "CHG_", "POST_"})
        for (int i = 1; i <= 10; ++i)
            columns.append({QString::fromLatin1(group) + QString::number(i).rightJustified(2, u'0'), T::Money});
    for (const char *total : {"PREV_SUM", "CASH_SUM", "CHG_SUM", "POST_SUM"})
        columns.append({QString::fromLatin1(total), T::Money});
    return columns;
}

QList<Column> control()
{
    return {{"CTRL_CD", T::Text, 50}, {"CTRL_VALUE", T::Text, 1000}, {"CTRL_TYPE", T::Integer}};
}

Table controlTable()
{
    return {"S_CTRL", control(), {"CTRL_CD"}, {}};
}

QList<Table> transactionTables()
{
    return {
        {"D_REG", saleHeader(), {"REG_ID"}, {{"SALES_DATE"}, {"REG_NO"}}},
        {"D_REG_DTL", saleLine(), {"REG_ID", "DTL_NO"}, {}},
        {"B_REG", saleHeader(), {"REG_ID"}, {{"SALES_DATE"}}},
        {"B_REG_DTL", saleLine(), {"REG_ID", "DTL_NO"}, {}},
        {"D_ADJ", settlement(), {"SALES_DATE"}, {}},
        {"D_ADJ_DTL",
         {{"SALES_DATE", T::Date}, {"FMR_ID", T::Integer}, {"SALES_QTY", T::Money}, {"SALES_AMT", T::Money},
          {"CLS_DATE", T::Date}},
         // The calendar asks per day whether it is paid; the payment closing finds a producer's unpaid
         // days. Either looks into the index at one place, however many years the table holds.
         {"SALES_DATE", "FMR_ID"}, {{"SALES_DATE", "CLS_DATE"}, {"CLS_DATE", "FMR_ID"}},
         {"IX_D_ADJ_DTL_CLS_DATE", "IX_D_ADJ_DTL_FMR_ID"}},
        {"D_PAY",
         {{"CLS_DATE", T::Date}, {"PAY_DATE", T::Date}, {"SALES_QTY_SUM", T::Money}, {"SALES_AMT_SUM", T::Money},
          {"FEE_AMT_SUM", T::Money}, {"PAY_AMT_SUM", T::Money}, {"BANK_FEE_SUM", T::Money},
          {"REAL_AMT_SUM", T::Money}},
         {"CLS_DATE"}, {}},
        {"D_PAY_DTL",
         {{"CLS_DATE", T::Date}, {"PAY_DATE", T::Date}, {"FMR_ID", T::Integer}, {"SALES_QTY", T::Money},
          {"SALES_AMT", T::Money}, {"FEE_AMT", T::Money}, {"PAY_AMT", T::Money}, {"BANK_NM", T::Text, 50},
          {"BR_NM", T::Text, 50}, {"ACC_KBN", T::Text, 50}, {"ACC_NO", T::Text, 10}, {"ACC_NM", T::Text, 50},
          {"BANK_FEE", T::Money}, {"REAL_AMT", T::Money}},
         {"CLS_DATE", "FMR_ID"}, {}},
        controlTable(),
        // The sales notices to producers: one row per sales day, time slot (minutes after midnight) and
        // producer, written before the notice goes out and marked sent after (notice/NoticeLog).
        {"D_NTC",
         {{"SALES_DATE", T::Date}, {"NTC_SLOT", T::Integer}, {"FMR_ID", T::Integer}, {"NTC_STATE", T::Integer},
          {"NTC_ADRS", T::Text, 254}, {"LINE_CNT", T::Integer}, {"LAST_REG_ID", T::Integer},
          {"SALES_QTY", T::Money}, {"SALES_AMT", T::Money}, {"NTC_DTM", T::Date}, {"NTC_HOST", T::Text, 64}},
         {"SALES_DATE", "NTC_SLOT", "FMR_ID"}, {}},
        {"D_REG_TAX", saleTax(), {"REG_ID", "TAX_RT"}, {}},
        {"D_REG_DTL_TAX", lineTax(), {"REG_ID", "DTL_NO"}, {}},
        {"B_REG_TAX", saleTax(), {"REG_ID", "TAX_RT"}, {}},
        {"B_REG_DTL_TAX", lineTax(), {"REG_ID", "DTL_NO"}, {}},
    };
}

QList<Table> masterTables()
{
    QList<Column> flowers{{"MD", T::Integer}, {"NM", T::Text, 50}};
    for (int i = 1; i <= 9; ++i)
        flowers.append({QStringLiteral("WD%1").arg(i), T::Text, 100});
    return {
        {"M_PRD_BCD",
         {{"BCD", T::Text, 20}, {"PRD_ID", T::Integer}, {"FMR_ID", T::Integer}, {"BCD_NM", T::Text, 100},
          {"PRC", T::Money}, {"UNIT_ID", T::Integer}},
         {"BCD"}, {}},
        {"M_PRD", {{"PRD_ID", T::Integer}, {"PRD_NM", T::Text, 100}}, {"PRD_ID"}, {}},
        {"M_FMR",
         {{"FMR_ID", T::Integer}, {"FMR_NM", T::Text, 50}, {"ADRS", T::Text, 50}, {"TEL_NO_L", T::Text, 15},
          {"TEL_NO_S", T::Text, 15}, {"NOTES", T::Text, 50}, {"BANK_NM", T::Text, 50}, {"BR_NM", T::Text, 50},
          {"ACC_KBN", T::Text, 50}, {"ACC_NO", T::Text, 10}, {"ACC_NM", T::Text, 50}, {"FEE_1", T::Money},
          {"FEE_2", T::Money}},
         {"FMR_ID"}, {}},
        {"L_FWD", flowers, {"MD"}, {}},
        {"L_ETO", {{"ID", T::Integer}, {"ETO_YM", T::Text, 20}}, {"ID"}, {}},
        controlTable(),
        // The banks' codes with their names and kana (vantle-admin banks import), and the codes of each
        // producer's account: M_FMR holds only the names.
        {"M_BANK", {{"BANK_CD", T::Text, 4}, {"BANK_NM", T::Text, 50}, {"BANK_KANA", T::Text, 50}}, {"BANK_CD"}, {}},
        {"M_BANK_BR",
         {{"BANK_CD", T::Text, 4}, {"BR_CD", T::Text, 3}, {"BR_NM", T::Text, 50}, {"BR_KANA", T::Text, 50}},
         {"BANK_CD", "BR_CD"}, {}},
        {"M_FMR_BANK", {{"FMR_ID", T::Integer}, {"BANK_CD", T::Text, 4}, {"BR_CD", T::Text, 3}}, {"FMR_ID"}, {}},
        // A producer's address for the sales notices and whether they are sent (notice/FmrNotice).
        {"M_FMR_NTC", {{"FMR_ID", T::Integer}, {"NTC_ADRS", T::Text, 254}, {"NTC_FLG", T::Integer}}, {"FMR_ID"}, {}},
        // The rate of a product charged at another rate than the shop's TAX_RT (tax/ProductRates).
        {"M_PRD_TAX", {{"PRD_ID", T::Integer}, {"TAX_RT", T::Money}}, {"PRD_ID"}, {}},
    };
}

QString sqlType(const Column &c, Engine engine)
{
    if (engine == Engine::Sqlite) {
        switch (c.type) {
        case T::Integer: return QStringLiteral("INTEGER");
        case T::Money: return QStringLiteral("NUMERIC");
        case T::Date: return QStringLiteral("TEXT");
        case T::Text: return QStringLiteral("TEXT COLLATE NOCASE");
        }
    }
    switch (c.type) {
    case T::Integer: return QStringLiteral("INT");
    case T::Money: return QStringLiteral("DECIMAL(19,4)");
    case T::Date: return QStringLiteral("DATETIME");
    case T::Text: return QStringLiteral("VARCHAR(%1)").arg(c.length > 0 ? c.length : 255);
    }
    return QString();
}

const QHash<QString, Type> &catalog()
{
    static const QHash<QString, Type> types = [] {
        QHash<QString, Type> map;
        for (Store s : {Store::Transaction, Store::Master, Store::Local})
            for (const Table &t : tables(s))
                for (const Column &c : t.columns)
                    map.insert(c.name, c.type);
        return map;
    }();
    return types;
}

} // namespace

const QList<Table> &tables(Store store)
{
    static const QList<Table> transaction = transactionTables();
    static const QList<Table> master = masterTables();
    static const QList<Table> local = {controlTable()};
    switch (store) {
    case Store::Transaction: return transaction;
    case Store::Master: return master;
    case Store::Local: return local;
    }
    return local;
}

const Table *table(const QString &name)
{
    for (Store s : {Store::Transaction, Store::Master})
        for (const Table &t : tables(s))
            if (t.name.compare(name, Qt::CaseInsensitive) == 0)
                return &t;
    return nullptr;
}

QStringList createStatements(const Table &t, Engine engine, bool ifNotExists)
{
    const QString guard = ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString();
    QStringList parts;
    for (const Column &c : t.columns) {
        const bool required = t.key.contains(c.name);
        parts << c.name + u' ' + sqlType(c, engine) + (required ? QStringLiteral(" NOT NULL") : QString());
    }
    parts << QStringLiteral("PRIMARY KEY (%1)").arg(t.key.join(u", "));
    QString ddl = QStringLiteral("CREATE TABLE %1%2 (\n  %3\n)").arg(guard, t.name, parts.join(QStringLiteral(",\n  ")));
    if (engine == Engine::MariaDb)
        ddl += QStringLiteral(" ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci");
    QStringList statements{ddl};
    for (const QStringList &index : t.indexes)
        statements << createIndexStatement(t, index, ifNotExists);
    return statements;
}

QStringList createStatements(Store store, Engine engine)
{
    QStringList statements;
    for (const Table &t : tables(store))
        statements << createStatements(t, engine);
    return statements;
}

QString indexName(const Table &t, const QStringList &columns)
{
    return QStringLiteral("IX_%1_%2").arg(t.name, columns.join(u'_'));
}

QString createIndexStatement(const Table &t, const QStringList &columns, bool ifNotExists)
{
    return QStringLiteral("CREATE INDEX %1%2 ON %3 (%4)")
        .arg(ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString(), indexName(t, columns), t.name,
             columns.join(QStringLiteral(", ")));
}

QString dropIndexStatement(const Table &t, const QString &index, Engine engine)
{
    if (engine == Engine::MariaDb)
        return QStringLiteral("DROP INDEX %1 ON %2").arg(index, t.name);
    return QStringLiteral("DROP INDEX ") + index;
}

std::optional<Type> fieldType(const QString &fieldName)
{
    static const QRegularExpression shape(
        QStringLiteral(R"(^\s*(?:(MAX|MIN|SUM|COUNT|FIRST|LAST)\s*\(\s*)?(?:[A-Za-z_]\w*\.)?([A-Za-z_]\w*|\*)\s*\)?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = shape.match(fieldName);
    if (!m.hasMatch())
        return std::nullopt;
    if (m.captured(1).compare(u"COUNT", Qt::CaseInsensitive) == 0)
        return Type::Integer;
    const auto it = catalog().constFind(m.captured(2).toUpper());
    if (it == catalog().constEnd())
        return std::nullopt;
    return *it;
}

} // namespace Schema
