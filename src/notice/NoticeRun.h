#pragma once

#include "notice/NoticePlan.h"
#include "notice/NoticeSettings.h"

#include <QString>
#include <QStringList>
#include <optional>

class clsData;
class MailSender;

// One run of the sales notices, as `vantle-admin notify` starts it every few minutes: finds the slot that
// is due now, reads the day's sales and the notices already sent, and sends each producer who is due a
// notice (see NoticeLog for how a slot goes out at most once across runs and machines). Failures of single
// messages are written to the log and left for the next run; a server that cannot be reached ends the run.
class NoticeRun
{
public:
    struct Summary
    {
        std::optional<int> slot; // nothing when no slot is due yet today (or no times are set)
        int due = 0;
        int sent = 0;
        int failed = 0;          // refused, or not tried because the server was away
        int taken = 0;           // another run had the slot
        QString stopped;         // why the run ended early ("" when it did not)
    };

    NoticeRun(clsData &db, clsData &mst) : m_db(db), m_mst(mst) {}

    // The settings (read anew by each run and each preview) and the slot due at `now`.
    NoticeSettings settings() const;

    // Sends what is due at `now` through `sender`; `host` names this machine in the record.
    Summary send(double now, MailSender &sender, const QString &host);
    // What a run at `now` would send, as text for a person to check; nothing is written or sent.
    QString preview(double now);

private:
    struct Day
    {
        NoticeSettings settings;
        std::optional<int> slot;
        double salesDate = 0;
        QList<PlannedNotice> plan;
    };
    Day plan(double now);

    clsData &m_db;
    clsData &m_mst;
};
