#include "base/TagProgram.h"

#include "base/AppPaths.h"
#include "base/Common.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

#ifdef Q_OS_WIN
const QString kTagFile = QStringLiteral("velmora.exe");
#else
const QString kTagFile = QStringLiteral("velmora");

// Whether a process runs the program file: as its executable, or as the script its interpreter runs
// (the first arguments of its command line).
bool runsProgram(const QString &processDir, const QString &program)
{
    if (QFileInfo(processDir + QStringLiteral("/exe")).canonicalFilePath() == program)
        return true;
    QFile cmdline(processDir + QStringLiteral("/cmdline"));
    if (!cmdline.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> args = cmdline.readAll().split('\0');
    for (qsizetype i = 0; i < qMin<qsizetype>(args.size(), 3); ++i) {
        if (!args[i].isEmpty() && QFileInfo(QFile::decodeName(args[i])).canonicalFilePath() == program)
            return true;
    }
    return false;
}
#endif

} // namespace

QString GetTagPath()
{
    const QString path = AppPaths::inProgramFolder(kTagFile);
    return QFileInfo(path).isFile() ? path : QString();
}

qint64 FindTagWindow()
{
#ifdef Q_OS_WIN
    const std::wstring caption = kTagWindowCaption.toStdWString();
    return qint64(reinterpret_cast<quintptr>(FindWindowW(nullptr, caption.c_str())));
#else
    const QString program = QFileInfo(GetTagPath()).canonicalFilePath();
    if (program.isEmpty())
        return 0;
    const QDir proc(QStringLiteral("/proc"));
    const qint64 self = QCoreApplication::applicationPid();
    for (const QString &entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number && pid != self && runsProgram(proc.filePath(entry), program))
            return pid;
    }
    return 0;
#endif
}

void RunTagProgram()
{
    const QString path = GetTagPath();
    if (path.isEmpty())
        return;
    if (const qint64 running = FindTagWindow()) {
#ifdef Q_OS_WIN
        HWND window = reinterpret_cast<HWND>(quintptr(running));
        if (IsIconic(window))
            ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
#else
        Q_UNUSED(running);
        // An X11 desktop raises a window by its caption through wmctrl when it is installed; without it
        // the running copy stays where it is, and still no second copy is started.
        const QString wmctrl = QStandardPaths::findExecutable(QStringLiteral("wmctrl"));
        if (!wmctrl.isEmpty())
            QProcess::startDetached(wmctrl, {QStringLiteral("-a"), kTagWindowCaption});
#endif
        return;
    }
    if (!QProcess::startDetached(path, {}, AppPaths::programFolder()))
        WriteLog(QStringLiteral("値札印刷を起動できません: ") + path);
}
