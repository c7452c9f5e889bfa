#pragma once

#include <QSemaphore>
#include <QThread>
#include <functional>

class QTcpServer;
class QTcpSocket;

// Listens on 127.0.0.1 at a free port on a thread of its own (the program under test may block the test's
// thread in a socket or database call) and hands every new connection to `accepted` on that thread; the
// socket lives there, and whoever takes it deletes it. It can stop listening, so that connections are
// refused, and listen again on the same port.
class TcpListener : public QThread
{
public:
    explicit TcpListener(std::function<void(QTcpSocket *)> accepted);
    ~TcpListener() override;

    quint16 port() const { return m_port; }
    void stopListening();
    void listenAgain();

protected:
    void run() override;

private:
    void onServerThread(const std::function<void()> &work);

    const std::function<void(QTcpSocket *)> m_accepted;
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
    QSemaphore m_listening;
};
