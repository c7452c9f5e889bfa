#include "settings/FmrMaster.h"

#include "base/Common.h"
#include "base/Variant.h"
#include "data/Connection.h"
#include "data/Recordset.h"
#include "data/Sql.h"
#include "data/Transaction.h"
#include "data/clsData.h"

#include <stdexcept>

namespace FmrMaster {

namespace {

bool isFee(const QString &column)
{
    return column == u"FEE_1" || column == u"FEE_2";
}

// What the column receives for a box: Null for an empty box; the fees as money, so a text that is no
// number fails here on every engine (a file database would otherwise keep "abc" in a money column).
Variant fieldValue(const QString &column, const QString &text)
{
    if (text.isEmpty())
        return Variant::null();
    if (isFee(column))
        return Variant(Variant(text).toCurrency());
    return Variant(text);
}

} // namespace

const QStringList &Columns()
{
    static const QStringList columns{
        QStringLiteral("FMR_NM"), QStringLiteral("ADRS"), QStringLiteral("TEL_NO_L"), QStringLiteral("TEL_NO_S"),
        QStringLiteral("NOTES"), QStringLiteral("BANK_NM"), QStringLiteral("BR_NM"), QStringLiteral("ACC_KBN"),
        QStringLiteral("ACC_NO"), QStringLiteral("ACC_NM"), QStringLiteral("FEE_1"), QStringLiteral("FEE_2"),
    };
    return columns;
}

QString SelectSql(qint32 code)
{
    return Sql(R"(SELECT M_FMR.* FROM M_FMR WHERE FMR_ID=:code)").number("code", code);
}

std::optional<QStringList> Read(clsData &mst, qint32 code)
{
    Recordset rs = mst.GetFwdOnlyRst(SelectSql(code));
    if (rs.EOF_()) {
        rs.Close();
        return std::nullopt;
    }
    QStringList texts;
    for (const QString &column : Columns()) {
        const Variant v = rs.Fields(column);
        texts << (v.isNull() || v.isEmpty() ? QString() : v.toString());
    }
    rs.Close();
    return texts;
}

bool Save(clsData &mst, qint32 code, const QStringList &texts)
{
    try {
        // Inside the editor's transaction, that one carries the row.
        Transaction transaction(mst, Transaction::Scope::JoinOpen);
        Recordset rs = mst.GetDynamicRst(SelectSql(code));
        if (!rs.EOF_()) {
            rs.setField(QStringLiteral("FMR_ID"), Variant(code));
            for (int i = 0; i < Columns().size(); ++i)
                rs.setField(Columns()[i], fieldValue(Columns()[i], texts.value(i)));
            rs.Update();
        }
        rs.Close();
        transaction.commit();
        return true;
    } catch (const std::exception &e) {
        WriteLog(QStringLiteral("生産者ﾏｽﾀの登録に失敗しました: ") + QString::fromStdString(e.what()));
        return false;
    }
}

} // namespace FmrMaster
