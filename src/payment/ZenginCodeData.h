#pragma once

#include <QList>
#include <QString>
#include <optional>

// The bank and branch codes of the zengin-code package of the npm registry, as `npm install zengin-code`
// leaves them: lib/zengin-data.js holds one object literal in JSON form,
//   { "0001": { "code": "0001", "name": "みずほ", "kana": "ミズホ", "hira": ..., "roma": ...,
//               "branches": { "001": { "code": "001", "name": "東京営業部", "kana": "トウキヨウ", ... }, ... } }, ... }
// (kana in full-width katakana, small kana already written large).
struct ZenginCodeData
{
    struct Bank { QString code; QString name; QString kana; };
    struct Branch { QString bankCode; QString code; QString name; QString kana; };
    QList<Bank> banks;
    QList<Branch> branches;

    // The package folder: DIR itself when it holds lib/zengin-data.js, else DIR/node_modules/zengin-code;
    // without DIR the current folder, then the global npm folders. "" when there is none.
    static QString FindPackage(const QString &dir = QString());
    // Reads the package's data; nothing, and the reason in `problem`, when the file is missing or not in
    // that form (a code that is not 4 or 3 digits, a bank without a name).
    static std::optional<ZenginCodeData> Read(const QString &packageDir, QString *problem);
    // The same from the object literal's text (the file's content).
    static std::optional<ZenginCodeData> Parse(const QByteArray &content, QString *problem);
};
