#pragma once

#include "support/TcpListener.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QTcpSocket>
#include <QTest>
#include <memory>

// A network receipt printer on 127.0.0.1 (the printer's port 9100, here a free port): every connection is one
// job, kept with all its bytes once the sender closes. It can be switched off, so that connections are
// refused, and on again on the same port.
class NetworkPrinter
{
public:
    quint16 port() const { return m_listener.port(); }
    void switchOff() { m_listener.stopListening(); }
    void switchOn() { m_listener.listenAgain(); }

    QList<QByteArray> jobs() const
    {
        QMutexLocker lock(&m_mutex);
        return m_jobs;
    }
    // Waits (handling events) until n jobs have come, at most ms; true when they did.
    bool waitForJobs(int n, int ms = 5000) const
    {
        return QTest::qWaitFor([&] { return jobs().size() >= n; }, ms);
    }

private:
    void receive(QTcpSocket *socket)
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

    mutable QMutex m_mutex;
    QList<QByteArray> m_jobs;
    TcpListener m_listener{[this](QTcpSocket *socket) { receive(socket); }}; // last: it hands over at once
};
