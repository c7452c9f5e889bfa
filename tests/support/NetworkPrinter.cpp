#include "support/NetworkPrinter.h"

#include <QTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

NetworkPrinter::NetworkPrinter()
{
    listen();
}

NetworkPrinter::~NetworkPrinter()
{
    switchOff();
}

void NetworkPrinter::listen()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(m_port);
    socklen_t len = sizeof a;
    if (::bind(m_fd, reinterpret_cast<sockaddr *>(&a), len) != 0 || ::listen(m_fd, 8) != 0)
        throw std::runtime_error("the test printer cannot listen");
    ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &len);
    m_port = ntohs(a.sin_port);
    m_thread = std::thread([this, fd = m_fd] { run(fd); });
}

void NetworkPrinter::switchOff()
{
    if (m_fd < 0)
        return;
    ::shutdown(m_fd, SHUT_RDWR);
    ::close(m_fd);
    m_fd = -1;
    m_thread.join();
}

void NetworkPrinter::switchOn()
{
    if (m_fd < 0)
        listen();
}

void NetworkPrinter::run(int fd)
{
    for (;;) {
        const int c = ::accept(fd, nullptr, nullptr);
        if (c < 0)
            return;
        QByteArray job;
        char buf[8192];
        for (ssize_t n; (n = ::recv(c, buf, sizeof buf, 0)) > 0;)
            job.append(buf, n);
        ::close(c);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.append(job);
    }
}

QList<QByteArray> NetworkPrinter::jobs() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_jobs;
}

bool NetworkPrinter::waitForJobs(int n, int ms) const
{
    return QTest::qWaitFor([&] { return jobs().size() >= n; }, ms);
}
