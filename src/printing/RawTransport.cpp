#include "printing/RawTransport.h"

#include "printing/Surface.h"

#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QUrl>

namespace RawTransport {
namespace {

constexpr int kConnectMs = 3000;
constexpr int kSendMs = 10000;

void sendToQueue(const QString &queue, const QByteArray &bytes, const QString &title)
{
    QProcess lp;
    lp.start(QStringLiteral("lp"), {QStringLiteral("-d"), queue, QStringLiteral("-o"), QStringLiteral("raw"),
                                    QStringLiteral("-t"), title.isEmpty() ? QStringLiteral("Marveno") : title});
    if (!lp.waitForStarted(kConnectMs))
        throw PrinterError(QStringLiteral("印刷コマンド lp を起動できません (%1)。").arg(queue));
    lp.write(bytes);
    lp.closeWriteChannel();
    if (!lp.waitForFinished(kSendMs * 3) || lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        const QString why = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
        lp.kill();
        throw PrinterError(QStringLiteral("プリンタ %1 に送れません。%2").arg(queue, why));
    }
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
