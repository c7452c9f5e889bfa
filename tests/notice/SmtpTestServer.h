#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real mail server for the notice tests: the Debian package aiosmtpd (smtp_test_server.py), on 127.0.0.1
// at a free port, with TLS by a self-signed certificate made here and a required login. It is started and
// stopped by the test.
class SmtpTestServer
{
public:
    static inline const QString User = QStringLiteral("notice-user");
    static inline const QString Password = QStringLiteral("pa'ss wörd");

    SmtpTestServer();
    ~SmtpTestServer();

    // Starts the server (on `port`, 0: a free one); implicitTls: TLS from the first byte instead of
    // STARTTLS. Recipients in `rejected` are refused with 550.
    void start(bool implicitTls = false, const QStringList &rejected = {}, int port = 0);
    // Stops the server; its port then stays closed (a server that is away).
    void stop();
    int port() const { return m_port; }
    QString caFile() const { return m_dir.filePath(QStringLiteral("cert.pem")); }
    // While refusing, the server answers every message with 451.
    void setRefusing(bool refusing);

    struct Received
    {
        QStringList envelopeTo;
        QString authUser;
        QString subject; // decoded
        QString to;      // the To header, decoded
        QString body;    // decoded
        QByteArray raw;
    };
    QList<Received> received() const;
    // The envelope recipients of each message received, in order.
    QStringList recipients() const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
