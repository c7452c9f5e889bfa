#pragma once

#include <QString>
#include <QStringList>

class clsData;

// The shop's own account, from which the bank pays the producers: control values of the master database,
// set in the settings dialog 振込依頼人情報.
struct ShopAccount
{
    // Control-value keys.
    static inline const QString ClientCodeKey = QStringLiteral("ZGN_CLIENT_CD");  // client code at the bank
    static inline const QString ClientNameKey = QStringLiteral("ZGN_CLIENT_NM");  // the shop's name in kana
    static inline const QString BankCodeKey = QStringLiteral("ZGN_BANK_CD");
    static inline const QString BranchCodeKey = QStringLiteral("ZGN_BR_CD");
    static inline const QString AccountKindKey = QStringLiteral("ZGN_ACC_KBN");   // list: blank, 普通, 当座, その他
    static inline const QString AccountNoKey = QStringLiteral("ZGN_ACC_NO");
    static inline const QString LineEndKey = QStringLiteral("ZGN_EOL");           // list: CR LF, none

    QString clientCode;
    QString clientName;
    QString bankCode;
    QString branchCode;
    int accountKind = 0; // the list position: 0 not set, 1 ordinary, 2 current, 3 other
    QString accountNo;
    bool lineEnds = true;

    static ShopAccount Read(clsData &mst);
    // The account kind of the file: 1, 2, 9; 0 when not set.
    int kindCode() const;
    // What is missing or malformed, as the dialog's labels name it; empty when the account is complete.
    // The kana of the name and the codes' presence in the bank master are checked where the file is made.
    QStringList problems() const;
};
