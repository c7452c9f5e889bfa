#include "tax/RegistrationNumber.h"

#include <QRegularExpression>

namespace RegistrationNumber {

int CheckDigit(const QString &twelveDigits)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{12}$"));
    if (!digits.match(twelveDigits).hasMatch())
        return -1;
    int sum = 0;
    for (int n = 1; n <= 12; ++n) {
        const int digit = twelveDigits.at(12 - n).digitValue();
        sum += digit * (n % 2 == 1 ? 1 : 2);
    }
    return 9 - sum % 9;
}

QString Normalized(const QString &typed)
{
    // Full-width characters pasted from elsewhere become plain ones ("Ｔ１２" as "T12").
    QString plain = typed.normalized(QString::NormalizationForm_KC);
    plain.remove(QRegularExpression(QStringLiteral("[\\s-]")));
    if (plain.startsWith(u't'))
        plain[0] = u'T';
    return plain;
}

QString Problem(const QString &number)
{
    static const QRegularExpression shape(QStringLiteral("^T[0-9]{13}$"));
    if (!shape.match(number).hasMatch())
        return QStringLiteral("登録番号は T に続けて13桁の数字で入力して下さい。");
    if (CheckDigit(number.mid(2)) != number.at(1).digitValue())
        return QStringLiteral("登録番号 %1 は正しくありません (T の次の検査用数字が合いません)。\r\n番号を確かめて下さい。")
            .arg(number);
    return QString();
}

} // namespace RegistrationNumber
