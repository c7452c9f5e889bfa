#pragma once

#include "notice/NoticeTimes.h"

#include <QString>

class clsData;

// The shop's settings for the sales notices: control values of the master database, edited in the dialog
// 売上通知設定. The server's password is not among them: it stays in a file on the sending machine
// (SmtpPassword), never in the shared database.
struct NoticeSettings
{
    // The control-value keys.
    static inline const QString TimesKey = QStringLiteral("NTC_TIMES");
    static inline const QString ServerKey = QStringLiteral("NTC_SMTP_SERVER");
    static inline const QString PortKey = QStringLiteral("NTC_SMTP_PORT");
    static inline const QString SecurityKey = QStringLiteral("NTC_SMTP_SEC");
    static inline const QString FromKey = QStringLiteral("NTC_FROM");
    static inline const QString UserKey = QStringLiteral("NTC_USER");

    // How the connection is protected: STARTTLS after a plain greeting (usually port 587) or TLS from the
    // first byte (usually 465). A connection without either is not offered: the login would travel in clear.
    enum class Security { StartTls = 0, Tls = 1 };

    NoticeTimes times;
    QString server;
    int port = 0; // 0: the usual port of the security
    Security security = Security::StartTls;
    QString from;
    QString user;
    QString shopName; // COM_NM, else COM_OMT

    int effectivePort() const { return port > 0 ? port : (security == Security::Tls ? 465 : 587); }

    // Reads the settings. Times that cannot be read count as none (no notices) and are named in `problem`.
    static NoticeSettings Load(clsData &mst, QString *problem = nullptr);
    // What keeps notices from being sent with these settings ("" when they can be sent).
    QString missing() const;
};
