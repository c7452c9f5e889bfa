#include "tax/ProductRateImport.h"

#include "data/AddedTables.h"
#include "data/Recordset.h"
#include "data/Sql.h"
#include "data/Transaction.h"
#include "data/clsData.h"
#include "tax/ProductRates.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace ProductRateImport {

namespace {

struct Good
{
    qint32 prdId;
    std::optional<Currency> rate; // nothing: back to the shop's rate
};

QString unquoted(QString field)
{
    field = field.trimmed();
    if (field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"'))
        field = field.mid(1, field.size() - 2).trimmed();
    return field;
}

// The product numbers the masters know: a rate for any other number is a typing error.
QSet<qint32> knownProducts(clsData &mst)
{
    QSet<qint32> ids;
    for (const char *sql : {"SELECT PRD_ID FROM M_PRD", "SELECT DISTINCT PRD_ID FROM M_PRD_BCD"}) {
        for (Recordset rs = mst.GetFwdOnlyRst(QString::fromLatin1(sql)); !rs.EOF_(); rs.MoveNext()) {
            const Variant v = rs.Fields(QStringLiteral("PRD_ID"));
            if (!v.isNull() && !v.isEmpty())
                ids.insert(v.toLong());
        }
    }
    return ids;
}

} // namespace

std::optional<Currency> RateOf(const QString &percent)
{
    static const QRegularExpression whole(QStringLiteral(R"(^(\d{1,3})\s*%?$)"));
    const auto m = whole.match(percent.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int value = m.captured(1).toInt();
    if (value > 100)
        return std::nullopt;
    return Currency::fromRaw(qint64(value) * Currency::Scale / 100);
}

Result Run(clsData &mst, const QByteArray &csv)
{
    static const QRegularExpression number(QStringLiteral(R"(^\d{1,9}$)"));
    static const QRegularExpression anyDigit(QStringLiteral("[0-9]"));
    const QSet<qint32> known = knownProducts(mst);
    Result result;
    QList<Good> good;
    QHash<qint32, int> seenAt;
    const QList<QByteArray> lines = csv.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString text = QString::fromUtf8(lines[i]);
        if (i == 0 && text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        text.remove(u'\r');
        if (text.trimmed().isEmpty())
            continue;
        const QStringList fields = text.split(u',');
        const QString product = unquoted(fields.value(0));
        const QString rate = unquoted(fields.value(1));
        if (i == 0 && !product.contains(anyDigit))
            continue; // the heading
        const auto refuse = [&](const QString &reason) { result.refused.append({i + 1, text, reason}); };
        if (!number.match(product).hasMatch()) {
            refuse(QStringLiteral("商品コードが数字ではありません"));
            continue;
        }
        const qint32 prdId = product.toInt();
        if (!known.contains(prdId)) {
            refuse(QStringLiteral("商品コード %1 は商品マスタにもバーコードマスタにもありません").arg(prdId));
            continue;
        }
        if (seenAt.contains(prdId)) {
            refuse(QStringLiteral("商品コード %1 は %2 行目にもあります").arg(prdId).arg(seenAt.value(prdId)));
            continue;
        }
        if (fields.size() < 2) {
            refuse(QStringLiteral("税率がありません (店の税率に戻すには、商品コードの後にカンマだけを書きます)"));
            continue;
        }
        const std::optional<Currency> fraction = RateOf(rate);
        if (!rate.isEmpty() && !fraction) {
            refuse(QStringLiteral("税率「%1」は 0 から 100 までの整数 (%) で書いて下さい").arg(rate));
            continue;
        }
        seenAt.insert(prdId, i + 1);
        good.append({prdId, fraction});
    }

    AddedTables::Ensure(mst, {ProductRates::Table});
    Transaction transaction(mst);
    for (const Good &g : good) {
        mst.EXEC(Sql(R"(DELETE FROM M_PRD_TAX WHERE PRD_ID=:id)").number(QStringLiteral("id"), g.prdId));
        if (!g.rate) {
            ++result.removed;
            continue;
        }
        mst.EXEC(Sql(R"(INSERT INTO M_PRD_TAX (PRD_ID, TAX_RT) VALUES (:id, :rate))")
                     .number(QStringLiteral("id"), g.prdId)
                     .money(QStringLiteral("rate"), *g.rate));
        ++result.stored;
    }
    transaction.commit();
    return result;
}

} // namespace ProductRateImport
