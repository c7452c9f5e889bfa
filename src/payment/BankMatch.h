#pragma once

#include "payment/ZenginCodeData.h"

#include <QHash>
#include <QList>
#include <QString>

// Finds the codes of an account from the bank and branch names a person typed into the producer master.
// Names are compared as people write them: full and half width alike, blanks ignored, "銀行" and "支店"
// left out, the long forms of the co-operative banks as the short ones the banks' list uses (信用金庫 as
// 信金, 農業協同組合 and "JA ..." as ...農協), kana against the list's kana. A name is never guessed:
// only exactly one bank and branch is a match.
class BankMatch
{
public:
    enum class Outcome { Unique, Ambiguous, UnknownBank, UnknownBranch, NoName };
    struct Result
    {
        Outcome outcome = Outcome::NoName;
        QString bankCode;   // Unique only
        QString branchCode;
        int candidates = 0; // Ambiguous: how many bank and branch pairs fit
    };

    explicit BankMatch(const ZenginCodeData &data);
    Result find(const QString &bankName, const QString &branchName) const;

    // The forms compared (exposed for the tests of the rules above).
    static QString bankKey(const QString &name);
    static QString branchKey(const QString &name);
    static QString kanaKey(const QString &kana, const QString &suffix);

private:
    QHash<QString, QList<int>> m_banks;                       // key -> bank indexes
    QList<QString> m_codes;                                   // bank index -> code
    QList<QHash<QString, QList<QString>>> m_branches;         // bank index -> branch key -> codes
};

// A sentence for the operator about a result that is not Unique.
QString describe(BankMatch::Outcome outcome, int candidates);
