#include "notice/NoticeSettings.h"

#include "base/Variant.h"
#include "data/clsData.h"
#include "notice/MailAddress.h"

namespace {

QString textOf(clsData &mst, const QString &key)
{
    const Variant v = mst.GetCtrl(key);
    return v.isEmpty() || v.isNull() ? QString() : v.toString().trimmed();
}

} // namespace

NoticeSettings NoticeSettings::Load(clsData &mst, QString *problem)
{
    NoticeSettings s;
    const QString times = textOf(mst, TimesKey);
    if (const auto parsed = NoticeTimes::parse(times))
        s.times = *parsed;
    else if (problem)
        *problem = QStringLiteral("送信時刻 \"%1\" を読めません。").arg(times);
    s.server = textOf(mst, ServerKey);
    s.port = int(Val(textOf(mst, PortKey)));
    s.security = Val(textOf(mst, SecurityKey)) == 1 ? Security::Tls : Security::StartTls;
    s.from = textOf(mst, FromKey);
    s.user = textOf(mst, UserKey);
    s.shopName = textOf(mst, QStringLiteral("COM_NM"));
    if (s.shopName.isEmpty())
        s.shopName = textOf(mst, QStringLiteral("COM_OMT"));
    return s;
}

QString NoticeSettings::missing() const
{
    if (server.isEmpty())
        return QStringLiteral("SMTPサーバーが設定されていません。");
    if (port < 0 || port > 65535)
        return QStringLiteral("ポート番号 %1 は使えません。").arg(port);
    if (!MailAddress::isValid(from))
        return QStringLiteral("送信元アドレス \"%1\" が正しくありません。").arg(from);
    return QString();
}
