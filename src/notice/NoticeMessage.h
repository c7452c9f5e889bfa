#pragma once

#include "notice/DaySales.h"
#include "notice/FmrNotice.h"

#include <QByteArray>
#include <QString>

// The mail that tells one producer their sales of the day so far: Japanese subject and body with the shop's
// name, every item with quantity and amount, the total, and the moment it was made. The message is UTF-8:
// the body in base64 and every header text that may carry Japanese or quotes as encoded words, so no name
// can break a header line or add one.
struct NoticeMessage
{
    QString subject;
    QString body;
    QByteArray raw; // the whole message as it goes to the server, lines ending in CR LF

    struct Input
    {
        QString shopName;
        QString from;
        FmrNotice::Recipient to;
        ProducerSales sales;
        double salesDate = 0;
        int slot = 0;     // minutes after midnight
        double made = 0;  // the moment the sales were read
    };
    static NoticeMessage Compose(const Input &in);

    // Header text as encoded words of at most 60 characters each, folded onto continuation lines.
    static QByteArray encodedWords(const QString &text);
};
