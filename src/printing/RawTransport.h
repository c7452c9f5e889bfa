#pragma once

#include <QByteArray>
#include <QString>

// Sends a receipt printer's bytes unchanged to where the printer is:
//   "cups:QUEUE"           a raw job on that CUPS queue (lp -o raw), named after the job's title;
//   "socket://HOST[:PORT]" a network printer (port 9100 unless given);
//   "file:PATH" or "/PATH" a device file such as /dev/usb/lp0 (or any file).
// A failure throws PrinterError.
namespace RawTransport {

void send(const QString &uri, const QByteArray &bytes, const QString &title);

// The parts of a socket address; false when the text is not one.
bool parseSocket(const QString &uri, QString &host, quint16 &port);

} // namespace RawTransport
