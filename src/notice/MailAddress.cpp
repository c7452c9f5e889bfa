#include "notice/MailAddress.h"

#include <QRegularExpression>

namespace MailAddress {

bool isValid(const QString &address)
{
    // Local part: the characters of a dot-atom (RFC 5322), no leading, trailing or doubled dot. Domain: two
    // or more labels of letters, digits and inner hyphens.
    static const QRegularExpression shape(QStringLiteral(
        R"(^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*)"
        R"(@[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?(\.[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?)+\z)"));
    if (address.size() > 254 || address.indexOf(u'@') > 64)
        return false;
    return shape.match(address).hasMatch();
}

} // namespace MailAddress
