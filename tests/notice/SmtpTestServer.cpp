#include "SmtpTestServer.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

void SmtpTestServer::start(bool implicitTls, const QStringList &rejected, int port)
{
    stop();
    QStringList args{QStringLiteral(VANTLE_SMTP_TEST_SERVER), QStringLiteral("--dir"), m_dir.path(),
                     QStringLiteral("--user"), User, QStringLiteral("--password"), Password,
                     QStringLiteral("--port"), QString::number(port)};
    if (implicitTls)
        args << QStringLiteral("--tls");
    for (const QString &r : rejected)
        args << QStringLiteral("--reject") << r;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("/usr/bin/python3"), args);
    while (!m_process.canReadLine() && m_process.waitForReadyRead(30000)) {
    }
    const QByteArray line = m_process.readLine().trimmed();
    if (!line.startsWith("PORT "))
        throw std::runtime_error("the SMTP test server did not say its port: " + line.toStdString());
    m_port = line.mid(5).toInt();
}

void SmtpTestServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QList<SmtpTestServer::Received> SmtpTestServer::received() const
{
    QList<Received> all;
    const QDir dir(m_dir.path());
    for (const QString &name : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("unreadable: " + name.toStdString());
        const QJsonObject m = QJsonDocument::fromJson(file.readAll()).object();
        QStringList to;
        for (const QJsonValue &v : m[u"rcpt"].toArray())
            to << v.toString();
        all.append({to, m[u"subject"].toString(), m[u"to"].toString(), m[u"body"].toString()});
    }
    return all;
}

QStringList SmtpTestServer::recipients() const
{
    QStringList to;
    for (const Received &m : received())
        to << m.envelopeTo.join(u',');
    return to;
}
