#include "payment/ZenginRecord.h"

#include "payment/ZenginKana.h"

#include <stdexcept>

namespace ZenginRecord {

namespace {

QByteArray blanks(int width)
{
    return QByteArray(width, ' ');
}

QByteArray finished(QByteArray record)
{
    if (record.size() != Length)
        throw std::logic_error("transfer record of " + std::to_string(record.size()) + " bytes");
    return record;
}

} // namespace

QByteArray numeric(const QString &digits, int width)
{
    if (digits.isEmpty() || digits.size() > width)
        throw std::invalid_argument("number does not fit its field: " + digits.toStdString());
    for (QChar c : digits)
        if (c < u'0' || c > u'9')
            throw std::invalid_argument("not a number: " + digits.toStdString());
    return QByteArray(width - digits.size(), '0') + digits.toLatin1();
}

QByteArray numeric(qint64 value, int width)
{
    if (value < 0)
        throw std::invalid_argument("negative number in a transfer record");
    return numeric(QString::number(value), width);
}

QByteArray text(const QString &bankText, int width)
{
    const QByteArray bytes = ZenginKana::encode(bankText).left(width);
    return bytes + blanks(width - int(bytes.size()));
}

QByteArray header(const Header &h)
{
    QByteArray r;
    r.reserve(Length);
    r += '1';                                   // data kind: header
    r += "21";                                  // kind of business: general transfer
    r += '0';                                   // character code: JIS (Shift_JIS on a file)
    r += numeric(h.clientCode, 10);
    r += text(h.clientName, 40);
    r += numeric(h.month * 100 + h.day, 4);     // MMDD
    r += numeric(h.bankCode, 4);
    r += text(h.bankName, 15);
    r += numeric(h.branchCode, 3);
    r += text(h.branchName, 15);
    r += numeric(h.accountKind, 1);
    r += numeric(h.accountNo, 7);
    r += blanks(17);
    return finished(r);
}

QByteArray data(const Data &d)
{
    QByteArray r;
    r.reserve(Length);
    r += '2';                                   // data kind: data
    r += numeric(d.bankCode, 4);
    r += text(d.bankName, 15);
    r += numeric(d.branchCode, 3);
    r += text(d.branchName, 15);
    r += "0000";                                // clearing house: not used
    r += numeric(d.accountKind, 1);
    r += numeric(d.accountNo, 7);
    r += text(d.name, 30);
    r += numeric(d.amount, 10);
    r += '0';                                   // new code: none
    r += numeric(d.customerCode, 10);
    r += numeric(0, 10);                        // customer code 2
    r += ' ';                                   // transfer kind: the bank's default
    r += ' ';                                   // identification: none
    r += blanks(7);
    return finished(r);
}

QByteArray trailer(qint64 count, qint64 total)
{
    QByteArray r;
    r.reserve(Length);
    r += '8';
    r += numeric(count, 6);
    r += numeric(total, 12);
    r += blanks(101);
    return finished(r);
}

QByteArray end()
{
    return finished('9' + blanks(119));
}

} // namespace ZenginRecord
