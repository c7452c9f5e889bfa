#pragma once

#include "base/Currency.h"
#include "payment/BankMaster.h"
#include "payment/ShopAccount.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class clsData;

// One producer's payment of a closing with what its transfer needs.
struct TransferPayee
{
    qint32 fmrId = 0;
    QString fmrName;
    Currency amount;                  // D_PAY_DTL.REAL_AMT: what reaches the producer's account
    BankMaster::Codes codes;          // M_FMR_BANK
    std::optional<QString> bankKana;  // from the bank master; nothing: the code is not there
    std::optional<QString> branchKana;
    QString accountKind;              // the account as D_PAY_DTL holds it (the closing's snapshot)
    QString accountNo;
    QString accountName;
};

// A producer left out of the file, and why.
struct TransferExclusion
{
    qint32 fmrId = 0;
    QString fmrName;
    Currency amount;
    QString reason;
};

// The banks' transfer file (総合振込) of one payment closing: the shop's account in the header, one data
// record for every producer whose payment can be sent, the trailer with their count and total, the end
// record. Every producer that cannot be sent is listed with the reason instead. The file is made whole in
// memory and written in one piece, or not at all.
struct TransferFile
{
    QList<QByteArray> records; // 120 bytes each: header, data..., trailer, end; none when there is an error
    bool lineEnds = true;      // CR LF after every record (the shop's setting); some banks want none
    int count = 0;
    Currency total;
    double payDate = 0;
    QList<TransferExclusion> excluded;
    QStringList notes;   // sent, but worth a look (a name cut to its field)
    QString error;       // nothing can be sent: no file
    bool ok() const { return error.isEmpty(); }

    // The file from its parts; `shop` is complete (ShopAccount::problems() empty), the kana of its bank
    // and branch as the master has them.
    static TransferFile Compose(const ShopAccount &shop, const QString &bankKana, const QString &branchKana,
                                double payDate, const QList<TransferPayee> &payees);
    // The file of the closing of that day, read from the transaction and master databases. A closing date
    // without a payment closing, a bank master never imported or an incomplete shop account give an error
    // and no file.
    static TransferFile Build(clsData &db, clsData &mst, double closingDate);
    // The file's bytes: the records, each followed by CR LF where lineEnds is set.
    QByteArray bytes() const;
    // Writes the file through a temporary file that replaces `path` only when complete; false, with the
    // reason, when it failed or there is nothing to write (the old file at `path` then stays).
    bool Write(const QString &path, QString *problem) const;
    static QString DefaultFileName(double closingDate);

    // The account kind code of the file for the kind a person typed ("普通", "当座", "1" ...); 0 unknown.
    static int AccountKindCode(const QString &text);
};
