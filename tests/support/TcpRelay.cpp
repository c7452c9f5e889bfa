#include "support/TcpRelay.h"

#include <QMutexLocker>
#include <QTcpSocket>
#include <memory>

TcpRelay::TcpRelay(quint16 serverPort)
    : m_serverPort(serverPort), m_listener([this](QTcpSocket *client) { pass(client); })
{
}

void TcpRelay::cutAt(const QByteArray &request, Cut when, bool thenRefuse)
{
    QMutexLocker lock(&m_mutex);
    m_request = request.toUpper();
    m_when = when;
    m_refuseAfter = thenRefuse;
}

bool TcpRelay::takeCut(const QByteArray &data, Cut *when)
{
    QMutexLocker lock(&m_mutex);
    if (m_request.isEmpty() || !data.toUpper().contains(m_request))
        return false;
    m_request.clear();
    *when = m_when;
    ++m_cuts;
    m_refusing = m_refuseAfter;
    return true;
}

void TcpRelay::pass(QTcpSocket *client)
{
    if (m_refusing) {
        client->abort();
        client->deleteLater();
        return;
    }
    // The server's side belongs to the client's, so both go together.
    auto *server = new QTcpSocket(client);
    auto dropAnswer = std::make_shared<bool>(false);
    const auto cut = [client, server] {
        server->abort();
        client->abort();
        client->deleteLater();
    };
    QObject::connect(client, &QTcpSocket::readyRead, client, [this, client, server, dropAnswer, cut] {
        const QByteArray data = client->readAll();
        Cut when;
        if (!takeCut(data, &when)) {
            server->write(data);
        } else if (when == Cut::BeforeRequest) {
            cut();
        } else {
            server->write(data);
            *dropAnswer = true;
        }
    });
    QObject::connect(server, &QTcpSocket::readyRead, client, [client, server, dropAnswer, cut] {
        const QByteArray data = server->readAll();
        if (*dropAnswer)
            cut();
        else
            client->write(data);
    });
    QObject::connect(client, &QTcpSocket::disconnected, client, [client, server] {
        server->disconnectFromHost();
        client->deleteLater();
    });
    QObject::connect(server, &QTcpSocket::disconnected, client, [client] { client->disconnectFromHost(); });
    server->connectToHost(QHostAddress::LocalHost, m_serverPort);
}
