#pragma once

#include <QByteArray>
#include <QList>
#include <atomic>
#include <mutex>
#include <thread>

// A network receipt printer on 127.0.0.1 (the printer's port 9100, here a free port): every connection is one
// job, kept with all its bytes once the sender closes. It can be switched off, so that connections are
// refused, and on again on the same port.
class NetworkPrinter
{
public:
    NetworkPrinter();
    ~NetworkPrinter();
    NetworkPrinter(const NetworkPrinter &) = delete;
    NetworkPrinter &operator=(const NetworkPrinter &) = delete;

    quint16 port() const { return m_port; }
    void switchOff();
    void switchOn();

    QList<QByteArray> jobs() const;
    // Waits (handling events) until n jobs have come, at most ms; true when they did.
    bool waitForJobs(int n, int ms = 5000) const;

private:
    void listen();
    void run(int fd);

    quint16 m_port = 0;
    int m_fd = -1;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    QList<QByteArray> m_jobs;
};
