#pragma once

#include <QByteArray>
#include <QString>

// Hands one finished message to a mail server. The notice run knows only this; the program uses
// CurlMailSender.
class MailSender
{
public:
    struct Result
    {
        enum Outcome {
            Sent,
            Refused,     // the server refused this message (its recipient, its content): try the next one
            Unreachable, // no server, no secure connection, no login: the others would fail the same way
        };
        Outcome outcome = Sent;
        QString reason; // for the log: what the server or the connection said
    };

    virtual ~MailSender() = default;
    // Sends `message` from `from` to exactly one recipient, `to`.
    virtual Result send(const QString &from, const QString &to, const QByteArray &message) = 0;
};
