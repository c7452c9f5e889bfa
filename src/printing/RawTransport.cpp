#include "printing/RawTransport.h"

#include "app/Common.h"
#include "printing/CupsQueue.h"
#include "printing/Surface.h"

#include <QFile>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <fcntl.h>

namespace RawTransport {
namespace {

constexpr int kConnectMs = 3000;
constexpr int kSendMs = 10000;

// A raw job on a CUPS queue has as long as a network printer has to take its bytes.
int gQueueWaitMs = kSendMs;

// A raw job: the queue passes the bytes to the printer unchanged. The register waits until the printer has them,
// so that the drawer, the slip and the cut come out in this order and a printer that is off is noticed now.
void sendToQueue(const QString &queue, const QByteArray &bytes, const QString &title)
{
    const int job = CupsQueue::submit(queue, bytes, CupsQueue::RawFormat, title.isEmpty() ? kProductTitle : title);
    CupsQueue::waitUntilPrinted(queue, job, gQueueWaitMs);
}

// Closes the socket when it goes out of scope.
struct Fd {
    int fd = -1;
    ~Fd() { if (fd >= 0) ::close(fd); }
};

void sendToSocket(const QString &host, quint16 port, const QByteArray &bytes)
{
    const QString where = QStringLiteral("%1:%2").arg(host).arg(port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found) != 0 || !found)
        throw PrinterError(QStringLiteral("プリンタ %1 が見つかりません。").arg(where));
    Fd sock;
    bool connected = false;
    for (addrinfo *a = found; a && !connected; a = a->ai_next) {
        Fd attempt;
        attempt.fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (attempt.fd < 0)
            continue;
        // Connect without blocking, so that a printer that is switched off costs seconds, not minutes.
        const int flags = ::fcntl(attempt.fd, F_GETFL);
        ::fcntl(attempt.fd, F_SETFL, flags | O_NONBLOCK);
        int rc = ::connect(attempt.fd, a->ai_addr, a->ai_addrlen);
        if (rc != 0 && errno == EINPROGRESS) {
            pollfd p{attempt.fd, POLLOUT, 0};
            if (::poll(&p, 1, kConnectMs) == 1) {
                int err = 0;
                socklen_t len = sizeof err;
                ::getsockopt(attempt.fd, SOL_SOCKET, SO_ERROR, &err, &len);
                rc = err == 0 ? 0 : -1;
            } else {
                rc = -1;
            }
        }
        if (rc == 0) {
            ::fcntl(attempt.fd, F_SETFL, flags);
            std::swap(sock.fd, attempt.fd);
            connected = true;
        }
    }
    ::freeaddrinfo(found);
    if (!connected)
        throw PrinterError(QStringLiteral("プリンタ %1 に接続できません。").arg(where));
    timeval tv{kSendMs / 1000, 0};
    ::setsockopt(sock.fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(sock.fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw PrinterError(QStringLiteral("プリンタ %1 への送信が途中で止まりました (%2)。")
                                   .arg(where, QString::fromLocal8Bit(std::strerror(errno))));
        sent += n;
    }
    ::shutdown(sock.fd, SHUT_WR);
}

void sendToFile(const QString &path, const QByteArray &bytes)
{
    QFile device(path);
    if (!device.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw PrinterError(QStringLiteral("プリンタ %1 を開けません (%2)。").arg(path, device.errorString()));
    if (device.write(bytes) != bytes.size())
        throw PrinterError(QStringLiteral("プリンタ %1 に書き込めません (%2)。").arg(path, device.errorString()));
}

} // namespace

void setQueueWait(int milliseconds)
{
    gQueueWaitMs = milliseconds;
}

bool parseSocket(const QString &uri, QString &host, quint16 &port)
{
    if (!uri.startsWith(QLatin1String("socket://"), Qt::CaseInsensitive))
        return false;
    const QUrl url(uri);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    host = url.host();
    port = quint16(url.port(9100));
    return true;
}

void send(const QString &uri, const QByteArray &bytes, const QString &title)
{
    QString host;
    quint16 port = 0;
    if (uri.startsWith(QLatin1String("cups:"), Qt::CaseInsensitive))
        sendToQueue(uri.mid(5), bytes, title);
    else if (parseSocket(uri, host, port))
        sendToSocket(host, port, bytes);
    else if (uri.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        sendToFile(uri.mid(5), bytes);
    else if (uri.startsWith(u'/'))
        sendToFile(uri, bytes);
    else
        throw PrinterError(QStringLiteral("プリンタの接続先 %1 が分かりません。").arg(uri));
}

} // namespace RawTransport
