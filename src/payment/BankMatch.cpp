#include "payment/BankMatch.h"

#include "payment/ZenginKana.h"

#include <QSet>

namespace {

QString compact(const QString &name)
{
    QString s = name.normalized(QString::NormalizationForm_KC).toUpper();
    s.remove(QChar(u' '));
    s.remove(QChar(0x3000));
    return s;
}

void dropSuffix(QString &s, const QString &suffix)
{
    if (s.endsWith(suffix) && s.size() > suffix.size())
        s.chop(suffix.size());
}

void add(QHash<QString, QList<int>> &map, const QString &key, int index)
{
    if (key.isEmpty())
        return;
    QList<int> &list = map[key];
    if (!list.contains(index))
        list.append(index);
}

} // namespace

QString BankMatch::bankKey(const QString &name)
{
    QString s = compact(name);
    s.remove(QStringLiteral("株式会社"));
    s.replace(QStringLiteral("信用金庫"), QStringLiteral("信金"));
    s.replace(QStringLiteral("信用組合"), QStringLiteral("信組"));
    s.replace(QStringLiteral("農業協同組合"), QStringLiteral("農協"));
    s.replace(QStringLiteral("漁業協同組合"), QStringLiteral("漁協"));
    s.replace(QStringLiteral("労働金庫"), QStringLiteral("労金"));
    if (s.startsWith(QStringLiteral("JA")) && s.size() > 2)
        s = s.mid(2) + (s.endsWith(QStringLiteral("農協")) ? QString() : QStringLiteral("農協"));
    dropSuffix(s, QStringLiteral("銀行"));
    return s;
}

QString BankMatch::branchKey(const QString &name)
{
    QString s = compact(name);
    dropSuffix(s, QStringLiteral("支店"));
    return s;
}

QString BankMatch::kanaKey(const QString &kana, const QString &suffix)
{
    auto converted = ZenginKana::convert(kana);
    if (!converted)
        return QString();
    QString s = *converted;
    s.remove(u' ');
    // Only kana names: a name of digits or letters alone is no kana spelling.
    bool hasKana = false;
    for (QChar c : s)
        hasKana = hasKana || c.unicode() >= 0xFF71;
    if (!hasKana)
        return QString();
    if (!suffix.isEmpty())
        dropSuffix(s, suffix);
    return QStringLiteral("@") + s;
}

BankMatch::BankMatch(const ZenginCodeData &data)
{
    QHash<QString, int> indexOf;
    for (const ZenginCodeData::Bank &bank : data.banks) {
        const int index = int(m_codes.size());
        indexOf.insert(bank.code, index);
        m_codes.append(bank.code);
        m_branches.append(QHash<QString, QList<QString>>());
        add(m_banks, bankKey(bank.name), index);
        add(m_banks, kanaKey(bank.kana, QStringLiteral("ｷﾞﾝｺｳ")), index);
    }
    for (const ZenginCodeData::Branch &branch : data.branches) {
        const auto it = indexOf.constFind(branch.bankCode);
        if (it == indexOf.constEnd())
            continue;
        auto &branches = m_branches[*it];
        for (const QString &key : {branchKey(branch.name), kanaKey(branch.kana, QStringLiteral("ｼﾃﾝ"))}) {
            if (key.isEmpty())
                continue;
            QList<QString> &codes = branches[key];
            if (!codes.contains(branch.code))
                codes.append(branch.code);
        }
    }
}

BankMatch::Result BankMatch::find(const QString &bankName, const QString &branchName) const
{
    Result result;
    if (bankName.trimmed().isEmpty() || branchName.trimmed().isEmpty())
        return result;
    QSet<int> banks;
    for (const QString &key : {bankKey(bankName), kanaKey(bankName, QStringLiteral("ｷﾞﾝｺｳ"))})
        for (int index : m_banks.value(key))
            banks.insert(index);
    if (banks.isEmpty()) {
        result.outcome = Outcome::UnknownBank;
        return result;
    }
    QList<QPair<int, QString>> fits;
    for (int index : banks) {
        QSet<QString> codes;
        for (const QString &key : {branchKey(branchName), kanaKey(branchName, QStringLiteral("ｼﾃﾝ"))})
            for (const QString &code : m_branches[index].value(key))
                codes.insert(code);
        for (const QString &code : codes)
            fits.append({index, code});
    }
    result.candidates = int(fits.size());
    if (fits.isEmpty()) {
        result.outcome = Outcome::UnknownBranch;
    } else if (fits.size() > 1) {
        result.outcome = Outcome::Ambiguous;
    } else {
        result.outcome = Outcome::Unique;
        result.bankCode = m_codes[fits.first().first];
        result.branchCode = fits.first().second;
    }
    return result;
}

QString describe(BankMatch::Outcome outcome, int candidates)
{
    switch (outcome) {
    case BankMatch::Outcome::Ambiguous: return QStringLiteral("該当する金融機関・支店が%1件あります").arg(candidates);
    case BankMatch::Outcome::UnknownBank: return QStringLiteral("金融機関名が銀行マスタにありません");
    case BankMatch::Outcome::UnknownBranch: return QStringLiteral("支店名が銀行マスタにありません");
    case BankMatch::Outcome::NoName: return QStringLiteral("金融機関名または支店名がありません");
    case BankMatch::Outcome::Unique: break;
    }
    return QString();
}
