#pragma once

#include <QByteArray>
#include <QString>

// Sends a receipt printer's bytes unchanged to where the printer is:
//   "cups:QUEUE"           a raw job on that CUPS queue, named after the job's title; the call returns when
//                          the printer has taken it (10 seconds at most, then the job is cancelled);
//   "socket://HOST[:PORT]" a network printer (port 9100 unless given);
//   "file:PATH" or "/PATH" a device file such as /dev/usb/lp0 (or any file).
// A failure throws PrinterError.
namespace RawTransport {

void send(const QString &uri, const QByteArray &bytes, const QString &title);

// How long a raw job on a CUPS queue may take before it counts as failed.
void setQueueWait(int milliseconds);

// The parts of a socket address; false when the text is not one.
bool parseSocket(const QString &uri, QString &host, quint16 &port);

} // namespace RawTransport
