#include "payment/ZenginCodeData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

const QString kDataFile = QStringLiteral("lib/zengin-data.js");

bool isCode(const QString &text, int digits)
{
    static const QRegularExpression onlyDigits(QStringLiteral("^[0-9]+$"));
    return text.size() == digits && onlyDigits.match(text).hasMatch();
}

bool holdsData(const QString &dir)
{
    return !dir.isEmpty() && QFileInfo::exists(QDir(dir).filePath(kDataFile));
}

} // namespace

QString ZenginCodeData::FindPackage(const QString &dir)
{
    QStringList candidates;
    if (!dir.isEmpty()) {
        candidates << dir << QDir(dir).filePath(QStringLiteral("node_modules/zengin-code"));
    } else {
        candidates << QStringLiteral("node_modules/zengin-code") << QStringLiteral("/usr/local/lib/node_modules/zengin-code")
                   << QStringLiteral("/usr/lib/node_modules/zengin-code");
    }
    for (const QString &candidate : candidates)
        if (holdsData(candidate))
            return QDir(candidate).absolutePath();
    return QString();
}

std::optional<ZenginCodeData> ZenginCodeData::Read(const QString &packageDir, QString *problem)
{
    QFile file(QDir(packageDir).filePath(kDataFile));
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = QStringLiteral("%1 を読めません。").arg(file.fileName());
        return std::nullopt;
    }
    return Parse(file.readAll(), problem);
}

std::optional<ZenginCodeData> ZenginCodeData::Parse(const QByteArray &content, QString *problem)
{
    const auto fail = [problem](const QString &why) -> std::optional<ZenginCodeData> {
        if (problem)
            *problem = why;
        return std::nullopt;
    };
    // "module.exports = { ... };": the object literal between the first "{" and the last "}".
    const qsizetype open = content.indexOf('{');
    const qsizetype close = content.lastIndexOf('}');
    if (open < 0 || close < open)
        return fail(QStringLiteral("銀行データの形式が違います。"));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(content.mid(open, close - open + 1), &error);
    if (!doc.isObject())
        return fail(QStringLiteral("銀行データの形式が違います: %1").arg(error.errorString()));

    ZenginCodeData data;
    const QJsonObject banks = doc.object();
    for (auto b = banks.begin(); b != banks.end(); ++b) {
        const QJsonObject bank = b.value().toObject();
        const Bank entry{b.key(), bank.value(QLatin1String("name")).toString(), bank.value(QLatin1String("kana")).toString()};
        if (!isCode(entry.code, 4) || entry.name.isEmpty())
            return fail(QStringLiteral("銀行コード「%1」のデータが正しくありません。").arg(entry.code));
        data.banks.append(entry);
        const QJsonObject branches = bank.value(QLatin1String("branches")).toObject();
        for (auto r = branches.begin(); r != branches.end(); ++r) {
            const QJsonObject branch = r.value().toObject();
            const Branch br{entry.code, r.key(), branch.value(QLatin1String("name")).toString(),
                            branch.value(QLatin1String("kana")).toString()};
            if (!isCode(br.code, 3) || br.name.isEmpty())
                return fail(QStringLiteral("銀行コード「%1」の支店コード「%2」のデータが正しくありません。").arg(entry.code, br.code));
            data.branches.append(br);
        }
    }
    if (data.banks.isEmpty())
        return fail(QStringLiteral("銀行データに銀行がありません。"));
    return data;
}
