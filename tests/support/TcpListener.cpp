#include "support/TcpListener.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <stdexcept>

TcpListener::TcpListener(std::function<void(QTcpSocket *)> accepted) : m_accepted(std::move(accepted))
{
    start();
    m_listening.acquire();
    if (m_port == 0)
        throw std::runtime_error("the test listener cannot listen");
}

TcpListener::~TcpListener()
{
    quit();
    wait();
}

void TcpListener::run()
{
    QTcpServer server;
    m_server = &server;
    if (server.listen(QHostAddress::LocalHost, 0))
        m_port = server.serverPort();
    QObject::connect(&server, &QTcpServer::newConnection, [this, &server] {
        while (QTcpSocket *socket = server.nextPendingConnection())
            m_accepted(socket);
    });
    m_listening.release();
    exec();
    m_server = nullptr;
}

void TcpListener::onServerThread(const std::function<void()> &work)
{
    QMetaObject::invokeMethod(m_server, work, Qt::BlockingQueuedConnection);
}

void TcpListener::stopListening()
{
    onServerThread([this] { m_server->close(); });
}

void TcpListener::listenAgain()
{
    onServerThread([this] {
        if (!m_server->isListening() && !m_server->listen(QHostAddress::LocalHost, m_port))
            qWarning("the test listener cannot listen again on port %u", m_port);
    });
}
