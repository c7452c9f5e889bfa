#include "support/NetworkPrinter.h"

#include <QMutexLocker>
#include <QTcpSocket>
#include <QTest>
#include <memory>

NetworkPrinter::NetworkPrinter() : m_listener([this](QTcpSocket *socket) { receive(socket); })
{
}

void NetworkPrinter::receive(QTcpSocket *socket)
{
    auto job = std::make_shared<QByteArray>();
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, job] { job->append(socket->readAll()); });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket, job] {
        job->append(socket->readAll());
        QMutexLocker lock(&m_mutex);
        m_jobs.append(*job);
        socket->deleteLater();
    });
}

QList<QByteArray> NetworkPrinter::jobs() const
{
    QMutexLocker lock(&m_mutex);
    return m_jobs;
}

bool NetworkPrinter::waitForJobs(int n, int ms) const
{
    return QTest::qWaitFor([&] { return jobs().size() >= n; }, ms);
}
