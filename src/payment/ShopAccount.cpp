#include "payment/ShopAccount.h"

#include "base/Variant.h"
#include "data/clsData.h"

#include <QRegularExpression>

namespace {

QString value(clsData &mst, const QString &key)
{
    const Variant v = mst.GetCtrl(key);
    return v.isNull() || v.isEmpty() ? QString() : v.toString().trimmed();
}

bool digits(const QString &text, int min, int max)
{
    static const QRegularExpression onlyDigits(QStringLiteral("^[0-9]+$"));
    return text.size() >= min && text.size() <= max && onlyDigits.match(text).hasMatch();
}

} // namespace

ShopAccount ShopAccount::Read(clsData &mst)
{
    ShopAccount a;
    a.clientCode = value(mst, ClientCodeKey);
    a.clientName = value(mst, ClientNameKey);
    a.bankCode = value(mst, BankCodeKey);
    a.branchCode = value(mst, BranchCodeKey);
    a.accountKind = int(Val(value(mst, AccountKindKey)));
    a.accountNo = value(mst, AccountNoKey);
    a.lineEnds = Val(value(mst, LineEndKey)) == 0;
    return a;
}

int ShopAccount::kindCode() const
{
    switch (accountKind) {
    case 1: return 1;
    case 2: return 2;
    case 3: return 9;
    default: return 0;
    }
}

QStringList ShopAccount::problems() const
{
    QStringList p;
    if (!digits(clientCode, 1, 10))
        p << QStringLiteral("委託者コード（10桁以内の数字）");
    if (clientName.isEmpty())
        p << QStringLiteral("依頼人名（カナ）");
    if (!digits(bankCode, 4, 4))
        p << QStringLiteral("金融機関コード（4桁）");
    if (!digits(branchCode, 3, 3))
        p << QStringLiteral("支店コード（3桁）");
    if (kindCode() == 0)
        p << QStringLiteral("預金種目");
    if (!digits(accountNo, 1, 7))
        p << QStringLiteral("口座番号（7桁以内の数字）");
    return p;
}
