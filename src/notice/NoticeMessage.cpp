#include "notice/NoticeMessage.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "notice/NoticeTimes.h"

namespace {

QString quantityText(Currency qty)
{
    if (qty.isWhole())
        return Format::number(qty, QStringLiteral("#,##0"));
    QString text = Format::number(qty, QStringLiteral("#,##0.00"));
    while (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

QString yen(Currency amount)
{
    return Format::number(amount, QStringLiteral("#,##0")) + QStringLiteral("円");
}

QString subjectOf(const NoticeMessage::Input &in)
{
    return QStringLiteral("【%1】売上のお知らせ %2 %3")
        .arg(in.shopName, Format::date(in.salesDate, QStringLiteral("m月d日")), NoticeTimes::slotText(in.slot));
}

QString bodyOf(const NoticeMessage::Input &in)
{
    QStringList lines;
    lines << in.to.name + QStringLiteral(" 様") << QString();
    lines << QStringLiteral("%1より、本日 %2 の売上をお知らせします。")
                 .arg(in.shopName, Format::date(in.salesDate, QStringLiteral("yyyy年m月d日(aaa)")));
    lines << QStringLiteral("（全レジの合計です。返品は差し引いています。）") << QString();
    for (const SaleItem &item : in.sales.items) {
        const QString name = item.name.isEmpty() ? QStringLiteral("（品名なし）") : item.name;
        lines << QStringLiteral("・%1　%2点　%3").arg(name, quantityText(item.qty), yen(item.amt));
    }
    lines << QString();
    lines << QStringLiteral("合計　%1点　%2").arg(quantityText(in.sales.qty), yen(in.sales.amt)) << QString();
    lines << QStringLiteral("作成日時: ") + Format::date(in.made, QStringLiteral("yyyy年m月d日(aaa) hh時nn分"));
    lines << QStringLiteral("このメールは送信専用です。お問い合わせは店舗までお願いします。");
    lines << in.shopName;
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QByteArray base64Lines(const QByteArray &data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        out += encoded.mid(i, 76) + "\r\n";
    return out;
}

QByteArray mailbox(const QString &displayName, const QString &address)
{
    const QByteArray angle = '<' + address.toLatin1() + '>';
    return displayName.isEmpty() ? angle : NoticeMessage::encodedWords(displayName) + "\r\n " + angle;
}

// A Message-ID that is the same for the same day, slot and producer: a receiving system that sees the
// notice twice can tell.
QByteArray messageId(const NoticeMessage::Input &in)
{
    const QString domain = in.from.mid(in.from.indexOf(u'@') + 1);
    return QStringLiteral("<ntc.%1.%2.%3@%4>")
        .arg(Format::date(in.salesDate, QStringLiteral("yyyymmdd")))
        .arg(in.slot)
        .arg(in.to.fmrId)
        .arg(domain)
        .toLatin1();
}

} // namespace

QByteArray NoticeMessage::encodedWords(const QString &text)
{
    // 36 bytes of UTF-8 make 48 characters of base64: a word of 60 characters, so that the header's name
    // and the word still fit a line of 78. Characters are never split, so every word decodes on its own.
    QList<QByteArray> words;
    QByteArray chunk;
    const QString plain = QString(text).replace(u'\r', u' ').replace(u'\n', u' ');
    for (qsizetype i = 0; i < plain.size();) {
        const qsizetype n = plain[i].isHighSurrogate() && i + 1 < plain.size() ? 2 : 1;
        const QByteArray bytes = plain.mid(i, n).toUtf8();
        if (chunk.size() + bytes.size() > 36) {
            words << chunk;
            chunk.clear();
        }
        chunk += bytes;
        i += n;
    }
    if (!chunk.isEmpty() || words.isEmpty())
        words << chunk;
    QByteArray out;
    for (const QByteArray &word : words)
        out += (out.isEmpty() ? "" : "\r\n ") + QByteArray("=?UTF-8?B?") + word.toBase64() + "?=";
    return out;
}

NoticeMessage NoticeMessage::Compose(const Input &in)
{
    NoticeMessage m;
    m.subject = subjectOf(in);
    m.body = bodyOf(in);
    QByteArray raw;
    raw += "From: " + mailbox(in.shopName, in.from) + "\r\n";
    raw += "To: " + mailbox(in.to.name, in.to.address) + "\r\n";
    raw += "Subject: " + encodedWords(m.subject) + "\r\n";
    raw += "Date: " + DateValue::toQDateTime(in.made).toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    raw += "Message-ID: " + messageId(in) + "\r\n";
    raw += "MIME-Version: 1.0\r\n";
    raw += "Content-Type: text/plain; charset=UTF-8\r\n";
    raw += "Content-Transfer-Encoding: base64\r\n";
    raw += "\r\n";
    raw += base64Lines(m.body.toUtf8());
    m.raw = raw;
    return m;
}
