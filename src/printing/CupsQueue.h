#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// A print queue of the CUPS server this machine prints through (the local server, or the one CUPS_SERVER or
// client.conf names). Every call connects, asks and disconnects within a bounded time, and a failure throws
// PrinterError with a text for the operator.
namespace CupsQueue {

using Options = QList<QPair<QString, QString>>;

inline constexpr const char *RawFormat = "application/vnd.cups-raw";
inline constexpr const char *PdfFormat = "application/pdf";

// Hands one document to the queue as a job named title and returns the job's number. A queue that does not
// exist, is stopped or rejects jobs gets nothing: CUPS would keep a job for a stopped queue and print it
// whenever the queue is started again, long after the register went on without it.
int submit(const QString &queue, const QByteArray &document, const char *format, const QString &title,
           const Options &options = {});

// Waits until the printer has taken the whole job. A job that is not through within waitMs, or that the
// queue stops, cancels or aborts, is cancelled (so that it can never print later, after the operator was told
// it failed) and the failure thrown.
void waitUntilPrinted(const QString &queue, int job, int waitMs);

} // namespace CupsQueue
