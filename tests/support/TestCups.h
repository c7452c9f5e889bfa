#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The private CUPS server of the test command (scripts/with-test-cups.sh). Tests set up their queues with the
// commands a shop uses (lpadmin, cupsdisable, cupsenable) and read the jobs back from the server.
namespace TestCups {

// True when the test command started the server.
bool available();
// A file in the server's folder for a queue's output.
QString outputFile(const QString &name);

// Runs a CUPS command; false (with its output as a warning) when it fails.
bool run(const QString &program, const QStringList &arguments);

struct Job {
    int id = 0;
    QString title;
    int state = 0; // IPP job state: 9 completed, 7 cancelled
};
// Every job the queue ever had, oldest first.
QList<Job> jobs(const QString &queue);
// Waits until the queue has no job left to print, at most ms.
bool waitUntilIdle(const QString &queue, int ms = 10000);
// One attribute of a job as text ("2", "Manual"), empty when the job lacks it.
QString jobAttribute(int job, const QString &name);

} // namespace TestCups
