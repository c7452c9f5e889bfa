#pragma once

#include <QByteArray>
#include <QString>

// The records of the banks' fixed-length transfer file (総合振込): 120 bytes each, a header (data kind 1),
// one data record per transfer (2), a trailer with the count and the total (8) and an end record (9).
// Numeric fields are right-aligned and filled with "0", text fields left-aligned and filled with blanks.
// Texts are given in bank form (ZenginKana::convert); a text longer than its field is cut at the field's end.
namespace ZenginRecord {

inline constexpr int Length = 120;

// Who pays: the shop's account at its bank.
struct Header
{
    QString clientCode;   // the client code the bank gave the shop, up to 10 digits
    QString clientName;   // the shop's name in kana, up to 40 characters
    int month = 0;        // the transfer date
    int day = 0;
    QString bankCode;     // 4 digits
    QString bankName;     // kana, 15
    QString branchCode;   // 3 digits
    QString branchName;   // kana, 15
    int accountKind = 1;  // 1 ordinary, 2 current, 9 other
    QString accountNo;    // up to 7 digits
};

// Who is paid, and how much.
struct Data
{
    QString bankCode;
    QString bankName;
    QString branchCode;
    QString branchName;
    int accountKind = 1;  // 1 ordinary, 2 current, 4 savings, 9 other
    QString accountNo;
    QString name;         // the account holder in kana, 30
    qint64 amount = 0;    // yen, up to 10 digits
    qint64 customerCode = 0; // the shop's own number for the payee (the producer code), 10 digits
};

// Digits only, right-aligned in `width` with leading zeros; throws std::invalid_argument when the value
// is not a number of at most that many digits (the caller checks its data first).
QByteArray numeric(const QString &digits, int width);
QByteArray numeric(qint64 value, int width);
// Bank text, left-aligned in `width` with blanks, cut at the field's end.
QByteArray text(const QString &bankText, int width);

QByteArray header(const Header &h);
QByteArray data(const Data &d);
QByteArray trailer(qint64 count, qint64 total);
QByteArray end();

} // namespace ZenginRecord
