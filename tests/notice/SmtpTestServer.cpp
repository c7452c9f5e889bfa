#include "SmtpTestServer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <stdexcept>

namespace {

void run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        throw std::runtime_error((program + u' ' + args.join(u' ') + u'\n' + p.readAll()).toStdString());
}

QString decodeWords(const QString &header)
{
    static const QRegularExpression word(QStringLiteral(R"(=\?UTF-8\?B\?([A-Za-z0-9+/=]*)\?=)"));
    static const QRegularExpression between(QStringLiteral(R"((\?=)\s+(=\?))"));
    QString text = QString(header).replace(between, QStringLiteral("\\1\\2"));
    QString out;
    qsizetype at = 0;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(at, m.capturedStart() - at);
        out += QString::fromUtf8(QByteArray::fromBase64(m.captured(1).toLatin1()));
        at = m.capturedEnd();
    }
    return out + text.mid(at);
}

} // namespace

SmtpTestServer::SmtpTestServer()
{
    run(QStringLiteral("openssl"),
        {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
         QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
         QStringLiteral("-keyout"), m_dir.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"), caFile(),
         QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
         QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1")});
    QDir(m_dir.path()).mkpath(QStringLiteral("mail"));
}

SmtpTestServer::~SmtpTestServer()
{
    stop();
}

void SmtpTestServer::start(bool implicitTls, const QStringList &rejected, int port)
{
    stop();
    QStringList args{QStringLiteral(VANTLE_SMTP_TEST_SERVER),
                     QStringLiteral("--dir"), m_dir.filePath(QStringLiteral("mail")),
                     QStringLiteral("--cert"), caFile(),
                     QStringLiteral("--key"), m_dir.filePath(QStringLiteral("key.pem")),
                     QStringLiteral("--user"), User, QStringLiteral("--password"), Password,
                     QStringLiteral("--port"), QString::number(port)};
    if (implicitTls)
        args << QStringLiteral("--tls");
    for (const QString &r : rejected)
        args << QStringLiteral("--reject") << r;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("/usr/bin/python3"), args);
    if (!m_process.waitForStarted(10000))
        throw std::runtime_error("the SMTP test server does not start");
    while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
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

void SmtpTestServer::setRefusing(bool refusing)
{
    QFile flag(m_dir.filePath(QStringLiteral("mail/refuse")));
    if (refusing)
        flag.open(QIODevice::WriteOnly);
    else
        flag.remove();
}

QList<SmtpTestServer::Received> SmtpTestServer::received() const
{
    QList<Received> all;
    const QDir mail(m_dir.filePath(QStringLiteral("mail")));
    for (const QString &name : mail.entryList({QStringLiteral("*.eml")}, QDir::Files, QDir::Name)) {
        Received r;
        QFile eml(mail.filePath(name));
        QFile env(mail.filePath(QString(name).replace(QStringLiteral(".eml"), QStringLiteral(".env"))));
        if (!eml.open(QIODevice::ReadOnly) || !env.open(QIODevice::ReadOnly))
            continue;
        r.raw = eml.readAll();
        for (const QString &line : QString::fromUtf8(env.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(QStringLiteral("to ")))
                r.envelopeTo << line.mid(3);
            else if (line.startsWith(QStringLiteral("user ")))
                r.authUser = line.mid(5);
        }
        const qsizetype split = r.raw.indexOf("\r\n\r\n");
        const QString head = QString::fromLatin1(r.raw.left(split)).replace(QStringLiteral("\r\n "), QStringLiteral(" "));
        for (const QString &h : head.split(QStringLiteral("\r\n"))) {
            if (h.startsWith(QStringLiteral("Subject: ")))
                r.subject = decodeWords(h.mid(9));
            else if (h.startsWith(QStringLiteral("To: ")))
                r.to = decodeWords(h.mid(4));
        }
        r.body = QString::fromUtf8(QByteArray::fromBase64(r.raw.mid(split + 4)));
        all << r;
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
