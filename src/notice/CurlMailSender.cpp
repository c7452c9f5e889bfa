#include "notice/CurlMailSender.h"

#include <QSysInfo>
#include <QUrl>
#include <curl/curl.h>
#include <cstring>
#include <mutex>

namespace {

struct Upload
{
    const QByteArray *data;
    qsizetype offset = 0;
};

size_t readMessage(char *buffer, size_t size, size_t count, void *user)
{
    auto *upload = static_cast<Upload *>(user);
    const size_t room = size * count;
    const size_t left = size_t(upload->data->size() - upload->offset);
    const size_t n = left < room ? left : room;
    std::memcpy(buffer, upload->data->constData() + upload->offset, n);
    upload->offset += qsizetype(n);
    return n;
}

// Failures that no other message of the run would escape: the server is not there, the connection cannot
// be made secure, or the login is refused.
bool concernsServer(CURLcode code, long smtpCode)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST: case CURLE_COULDNT_RESOLVE_PROXY: case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT: case CURLE_LOGIN_DENIED: case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CONNECT_ERROR: case CURLE_PEER_FAILED_VERIFICATION: case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM: case CURLE_SSL_CIPHER: case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_GOT_NOTHING: case CURLE_AUTH_ERROR: case CURLE_UNSUPPORTED_PROTOCOL: case CURLE_URL_MALFORMAT:
        return true;
    default:
        // 421: the server closes the session (shutting down, too busy).
        return smtpCode == 421 || smtpCode == 0;
    }
}

QByteArray urlOf(const CurlMailSender::Server &s)
{
    // The path of an SMTP URL is the name this machine gives in EHLO.
    QUrl url;
    url.setScheme(s.security == NoticeSettings::Security::Tls ? QStringLiteral("smtps") : QStringLiteral("smtp"));
    url.setHost(s.host);
    url.setPort(s.port);
    QString local = QSysInfo::machineHostName();
    if (local.isEmpty())
        local = QStringLiteral("localhost");
    url.setPath(u'/' + local);
    return url.toEncoded();
}

} // namespace

CurlMailSender::CurlMailSender(Server server) : m_server(std::move(server))
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    m_curl = curl_easy_init();
    if (!m_curl)
        return;
    auto *curl = static_cast<CURL *>(m_curl);
    // What stays the same for every message of the run (libcurl copies the texts).
    curl_easy_setopt(curl, CURLOPT_URL, urlOf(m_server).constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!m_server.caFile.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, m_server.caFile.toLocal8Bit().constData());
    if (!m_server.user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, m_server.user.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, m_server.password.toUtf8().constData());
    }
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 15L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, long(m_server.timeoutSeconds));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
}

CurlMailSender::~CurlMailSender()
{
    if (m_curl)
        curl_easy_cleanup(static_cast<CURL *>(m_curl));
}

MailSender::Result CurlMailSender::send(const QString &from, const QString &to, const QByteArray &message)
{
    auto *curl = static_cast<CURL *>(m_curl);
    if (!curl)
        return {Result::Unreachable, QStringLiteral("libcurl を初期化できません。")};
    const QByteArray mailFrom = '<' + from.toLatin1() + '>';
    const QByteArray rcpt = '<' + to.toLatin1() + '>';
    curl_slist *recipients = curl_slist_append(nullptr, rcpt.constData());
    Upload upload{&message};
    char error[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, mailFrom.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);

    const CURLcode code = curl_easy_perform(curl);
    long smtpCode = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &smtpCode);
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_slist_free_all(recipients);
    if (code == CURLE_OK)
        return {Result::Sent, QString()};

    QString reason = QString::fromUtf8(error[0] ? error : curl_easy_strerror(code));
    if (smtpCode != 0)
        reason += QStringLiteral(" (SMTP %1)").arg(smtpCode);
    return {concernsServer(code, smtpCode) ? Result::Unreachable : Result::Refused, reason};
}
