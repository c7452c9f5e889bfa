#include "Commands.h"

#include "app/InitObj.h"
#include "base/Clock.h"
#include "base/Common.h"
#include "base/DateValue.h"
#include "base/MessagePresenter.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "notice/CurlMailSender.h"
#include "notice/NoticeRun.h"
#include "notice/SmtpPassword.h"

#include <QSysInfo>
#include <cstdio>

// vantle-admin notify [--dry-run] [--password-file FILE] [--ca-file FILE]
// Sends the sales notices that are due now, from the program folder named by VANTLE_HOME (or the one beside
// the program). The systemd timer runs it every few minutes on the machine chosen to send.

namespace {

const char kUsage[] = "使い方: vantle-admin notify [--dry-run] [--password-file FILE] [--ca-file FILE]\n";

void complain(const QString &text)
{
    std::fprintf(stderr, "notify: %s\n", text.toUtf8().constData());
}

struct Options
{
    bool dryRun = false;
    QString passwordFile;
    QString caFile;
};

bool parse(QStringList args, Options &o)
{
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == u"--dry-run")
            o.dryRun = true;
        else if ((a == u"--password-file" || a == u"--ca-file") && !args.isEmpty())
            (a == u"--ca-file" ? o.caFile : o.passwordFile) = args.takeFirst();
        else
            return false;
    }
    return true;
}

// The data objects as the register opens them; a database that cannot be opened is reported, not asked
// about (there is no one to ask).
class Databases
{
public:
    Databases()
    {
        MessagePresenter::install(&m_messages);
        try {
            InitObj();
        } catch (const std::exception &e) {
            complain(QString::fromStdString(e.what()));
        }
        for (const QString &prompt : m_messages.prompts())
            complain(prompt);
    }
    ~Databases()
    {
        ReleaseObj();
        MessagePresenter::install(nullptr);
    }
    Databases(const Databases &) = delete;
    Databases &operator=(const Databases &) = delete;

    bool open() const { return gDb && gDb->isOpen() && gMst && gMst->isOpen(); }

private:
    RecordingPresenter m_messages;
};

int send(NoticeRun &run, const Options &o, double now)
{
    const NoticeSettings settings = run.settings();
    const QTime time = DateValue::toQDateTime(now).time();
    if (!settings.times.dueAt(time.hour() * 60 + time.minute()))
        return 0;
    CurlMailSender::Server server{settings.server, settings.effectivePort(), settings.security, settings.user,
                                  QString(), o.caFile};
    if (!settings.user.isEmpty()) {
        QString problem;
        const QString path = o.passwordFile.isEmpty() ? SmtpPassword::DefaultPath() : o.passwordFile;
        server.password = SmtpPassword::Read(path, &problem);
        if (!problem.isEmpty()) {
            WriteLog(QStringLiteral("売上通知: ") + problem);
            complain(problem);
            return 1;
        }
    }
    CurlMailSender sender(server);
    const NoticeRun::Summary s = run.send(now, sender, QSysInfo::machineHostName());
    if (s.due > 0 || s.taken > 0)
        std::printf("%s\n", QStringLiteral("売上通知 %1: 送信 %2 件、失敗 %3 件、他の実行が送信 %4 件")
                                .arg(NoticeTimes::slotText(*s.slot))
                                .arg(s.sent)
                                .arg(s.failed)
                                .arg(s.taken)
                                .toUtf8()
                                .constData());
    if (!s.stopped.isEmpty())
        complain(s.stopped);
    return s.failed > 0 ? 1 : 0;
}

} // namespace

int runNotify(const QStringList &args)
{
    Options options;
    if (!parse(args, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    Databases databases;
    if (!databases.open()) {
        complain(QStringLiteral("データベースを開けません。"));
        return 1;
    }
    NoticeRun run(*gDb, *gMst);
    const double now = Clock::Now();
    try {
        if (options.dryRun) {
            std::fputs(run.preview(now).toUtf8().constData(), stdout);
            return 0;
        }
        return send(run, options, now);
    } catch (const std::exception &e) {
        const auto *db = dynamic_cast<const DbError *>(&e);
        const QString what = db ? db->description() : QString::fromStdString(e.what());
        WriteLog(QStringLiteral("売上通知: ") + what);
        complain(what);
        return 1;
    }
}
