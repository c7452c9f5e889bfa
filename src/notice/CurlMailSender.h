#pragma once

#include "notice/MailSender.h"
#include "notice/NoticeSettings.h"

#include <QString>

// SMTP through libcurl: STARTTLS (required, never a fall-back to clear text) or TLS from the start, the
// server's certificate checked against the system's authorities or a given file, login when a user is set.
// One connection is kept for the messages of a run.
class CurlMailSender : public MailSender
{
public:
    struct Server
    {
        QString host;
        int port = 587;
        NoticeSettings::Security security = NoticeSettings::Security::StartTls;
        QString user;
        QString password;
        QString caFile;      // "": the system's certificate authorities
        int timeoutSeconds = 60;
    };

    explicit CurlMailSender(Server server);
    ~CurlMailSender() override;
    CurlMailSender(const CurlMailSender &) = delete;
    CurlMailSender &operator=(const CurlMailSender &) = delete;

    Result send(const QString &from, const QString &to, const QByteArray &message) override;

private:
    Server m_server;
    void *m_curl = nullptr;
};
