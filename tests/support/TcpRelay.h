#pragma once

#include "support/TcpListener.h"

#include <QByteArray>
#include <QMutex>
#include <atomic>

// A TCP relay on 127.0.0.1 between a program under test and a server: it listens on a free port and, for
// every client, opens a connection to the server and passes the bytes both ways.
//
// Told to, it cuts one connection when a given request passes, either before the request reaches the
// server or after the server has answered it and before the answer reaches the client (the server did
// the work, the client never hears of it). After a cut it can refuse new clients, as a server that cannot
// be reached does.
class TcpRelay
{
public:
    enum class Cut { BeforeRequest, BeforeAnswer };

    explicit TcpRelay(quint16 serverPort);

    quint16 port() const { return m_listener.port(); }
    // Arms one cut: the first piece a client sends that contains `request` (compared without case).
    void cutAt(const QByteArray &request, Cut when, bool thenRefuse = false);
    // New clients are closed at once while on.
    void refuse(bool on) { m_refusing = on; }
    int cuts() const { return m_cuts; }

private:
    void pass(QTcpSocket *client);
    // The cut the armed request asks for when `data` holds it; the arming is used up.
    bool takeCut(const QByteArray &data, Cut *when);

    const quint16 m_serverPort;
    mutable QMutex m_mutex;
    QByteArray m_request;
    Cut m_when = Cut::BeforeRequest;
    bool m_refuseAfter = false;
    std::atomic<bool> m_refusing = false;
    std::atomic<int> m_cuts = 0;
    TcpListener m_listener; // last: it hands over clients as soon as it runs
};
