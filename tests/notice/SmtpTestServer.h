#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A real mail server for the notice tests: smtp_test_server.py (the Debian package aiosmtpd) on 127.0.0.1 at
// a free port, with TLS by a self-signed certificate it makes and a required login. The test starts and
// stops it; what it received is read back as the mail parser of Python decodes it.
class SmtpTestServer
{
public:
    static inline const QString User = QStringLiteral("notice-user");
    static inline const QString Password = QStringLiteral("pa'ss wörd");

    ~SmtpTestServer() { stop(); }
    // Starts the server (on `port`, 0: a free one); implicitTls: TLS from the first byte instead of
    // STARTTLS. Recipients in `rejected` are refused with 550.
    void start(bool implicitTls = false, const QStringList &rejected = {}, int port = 0);
    // Stops the server; its port then stays closed (a server that is away).
    void stop();
    int port() const { return m_port; }
    QString caFile() const { return m_dir.filePath(QStringLiteral("cert.pem")); }

    struct Received
    {
        QStringList envelopeTo;
        QString subject, to, body; // decoded
    };
    QList<Received> received() const;
    // The envelope recipients of each message received, in order.
    QStringList recipients() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
