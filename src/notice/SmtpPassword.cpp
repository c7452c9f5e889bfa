#include "notice/SmtpPassword.h"

#include "base/AppPaths.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace SmtpPassword {

QString DefaultPath()
{
    return AppPaths::inProgramFolder(QStringLiteral("smtp-password"));
}

QString Read(const QString &path, QString *problem)
{
    const QFileInfo info(path);
    const auto fail = [&](const QString &why) {
        if (problem)
            *problem = why;
        return QString();
    };
    if (!info.exists() || !info.isFile())
        return fail(QStringLiteral("パスワードファイル %1 がありません。").arg(path));
    constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    if (info.permissions() & others)
        return fail(QStringLiteral("パスワードファイル %1 は所有者以外も読み書きできます。"
                                   "chmod 600 %1 としてください。").arg(path));
#ifdef Q_OS_UNIX
    if (info.ownerId() != uint(geteuid()))
        return fail(QStringLiteral("パスワードファイル %1 の所有者がこのユーザーではありません。").arg(path));
#endif
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("パスワードファイル %1 を読めません。").arg(path));
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

} // namespace SmtpPassword
