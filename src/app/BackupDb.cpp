#include "app/BackupDb.h"

#include "app/SqliteFileCopy.h"
#include "base/Clock.h"
#include "base/Common.h"
#include "base/Format.h"
#include "base/Progress.h"
#include "data/Globals.h"
#include "data/clsINI.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace {

// The folder text with its separator, as the log line shows it.
QString withSeparator(const QString &folder)
{
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + u'/';
}

// A daily copy as BackupTarget names it: eight digits of a real date and ".mdb".
bool isDailyCopy(const QFileInfo &file)
{
    static const QRegularExpression name(QStringLiteral("^(\\d{8})\\.mdb$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = name.match(file.fileName());
    return m.hasMatch() && file.isFile() && !file.isSymLink()
        && QDate::fromString(m.captured(1), QStringLiteral("yyyyMMdd")).isValid();
}

} // namespace

QString BackupTarget(const QString &folder, double day)
{
    return withSeparator(folder) + Format::date(day, QStringLiteral("yyyymmdd")) + QStringLiteral(".mdb");
}

QString BackupSqliteFile(const QString &source, const QString &target, Progress &progress)
{
    if (!QFileInfo(source).isFile())
        return QStringLiteral("no database file: ") + source;
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    QString problem = CopySqliteFile(source, partial, progress);
    if (problem.isEmpty()) {
        if (QFile::exists(target) && !QFile::remove(target))
            problem = QStringLiteral("cannot replace ") + target;
        else if (QFile written(partial); !written.rename(target))
            problem = QStringLiteral("cannot write %1: %2").arg(target, written.errorString());
    }
    if (problem.isEmpty())
        FlushToDisk(QFileInfo(target).absolutePath()); // the new name, too, is on the disk
    else
        QFile::remove(partial);
    return problem;
}

void BackupDb(Progress &progress)
{
    try {
        if (!gIni || gIni->DB_TYPE() != u"2")
            return; // a database server keeps its own backups
        const QString folder = Nz(gIni->GetCtrl(QStringLiteral("BACK_PATH")), QString()).toString();
        if (folder.isEmpty())
            return;
        WriteLog(QStringLiteral("BACK_PATH:") + withSeparator(folder));
        if (!QFileInfo(folder).isDir())
            return;
        // A bare file name lies in the program folder; a name whose file is missing resolves to "".
        const QString source = gIni->DB_NAME();
        if (source.isEmpty())
            return;
        const QString target = BackupTarget(folder, Clock::Today());
        const QString problem = BackupSqliteFile(source, target, progress);
        if (!problem.isEmpty()) {
            // The earlier copies stay: they are all there is until a copy succeeds again.
            WriteLog(QStringLiteral("バックアップ失敗:") + problem);
            return;
        }
        PruneBackups(folder, BackupKeepCount(), target);
    } catch (...) {
        // A backup that cannot be made must never keep the register from ending.
    }
}

int BackupKeepCount()
{
    const QString stored = Nz(gIni->GetCtrl(kBackupKeepKey), QString()).toString().trimmed();
    if (stored.isEmpty())
        return kBackupKeepDefault;
    const double keep = Val(stored);
    return keep >= 1 ? int(std::min(keep, 1e6)) : 0;
}

QStringList PruneBackups(const QString &folder, int keep, const QString &newest)
{
    QStringList removed;
    if (keep <= 0)
        return removed;
    QList<QFileInfo> copies;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        if (isDailyCopy(file))
            copies.append(file);
    // Most recent first by the date in the name; the copy just made leads, whatever a clock set wrong once
    // left in the folder.
    const QString newestPath = QFileInfo(newest).absoluteFilePath();
    std::sort(copies.begin(), copies.end(), [&newestPath](const QFileInfo &a, const QFileInfo &b) {
        const bool aNewest = a.absoluteFilePath() == newestPath;
        const bool bNewest = b.absoluteFilePath() == newestPath;
        if (aNewest != bNewest)
            return aNewest;
        return a.fileName().left(8) > b.fileName().left(8);
    });
    for (qsizetype i = keep; i < copies.size(); ++i) {
        QFile old(copies[i].absoluteFilePath());
        if (old.remove()) {
            WriteLog(QStringLiteral("バックアップ削除:") + old.fileName());
            removed.append(old.fileName());
        } else {
            WriteLog(QStringLiteral("バックアップ削除失敗:%1 %2").arg(old.fileName(), old.errorString()));
        }
    }
    return removed;
}
