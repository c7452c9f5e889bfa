#pragma once

#include "support/TcpListener.h"

#include <QByteArray>
#include <QList>
#include <QMutex>

// A network receipt printer on 127.0.0.1 (the printer's port 9100, here a free port): every connection is one
// job, kept with all its bytes once the sender closes. It can be switched off, so that connections are
// refused, and on again on the same port.
class NetworkPrinter
{
public:
    NetworkPrinter();

    quint16 port() const { return m_listener.port(); }
    void switchOff() { m_listener.stopListening(); }
    void switchOn() { m_listener.listenAgain(); }

    QList<QByteArray> jobs() const;
    // Waits (handling events) until n jobs have come, at most ms; true when they did.
    bool waitForJobs(int n, int ms = 5000) const;

private:
    void receive(QTcpSocket *socket);

    mutable QMutex m_mutex;
    QList<QByteArray> m_jobs;
    TcpListener m_listener; // last: it hands over connections as soon as it runs
};
