#include "printing/RawTransport.h"

#include "base/Common.h"
#include "printing/CupsQueue.h"
#include "printing/Surface.h"

#include <QFile>
#include <QTcpSocket>
#include <QUrl>

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

void sendToSocket(const QString &host, quint16 port, const QByteArray &bytes)
{
    const QString where = QStringLiteral("%1:%2").arg(host).arg(port);
    QTcpSocket socket;
    socket.connectToHost(host, port);
    // A printer that is switched off costs seconds, not minutes.
    if (!socket.waitForConnected(kConnectMs)) {
        if (socket.error() == QAbstractSocket::HostNotFoundError)
            throw PrinterError(QStringLiteral("プリンタ %1 が見つかりません。").arg(where));
        throw PrinterError(QStringLiteral("プリンタ %1 に接続できません。").arg(where));
    }
    socket.write(bytes);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kSendMs))
            throw PrinterError(QStringLiteral("プリンタ %1 への送信が途中で止まりました (%2)。")
                                   .arg(where, socket.errorString()));
    }
    // Every byte is on its way: the printer sees the end of the job.
    socket.disconnectFromHost();
    if (socket.state() != QAbstractSocket::UnconnectedState)
        socket.waitForDisconnected(kSendMs);
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
