#include "data/clsINI.h"
#include "data/Connection.h"

#include "base/AppPaths.h"
#include "base/Common.h"
#include "data/ConnectionText.h"
#include "data/DbError.h"

#include <QDir>
#include <QFileInfo>

const QString clsINI::DatabasePassword = QStringLiteral("5274");

clsINI::clsINI()
{
    m_pessimisticSave = true;
    try {
        OpenCnn();
    } catch (const DbError &e) {
        // The object lives on without a connection: every setting then reads as empty.
        MsgBoxEx(e.description(), Msg::Critical);
    }
}

clsINI::~clsINI()
{
    CloseCnn();
}

QString clsINI::FilePath()
{
    return AppPaths::inProgramFolder(QStringLiteral("INFO.MDB"));
}

void clsINI::OpenCnn()
{
    m_dbType = QStringLiteral("ACCESS");
    m_cnn.reset();
    openFromText(ConnectionText::file(FilePath(), QStringLiteral("admin"), QString(), DatabasePassword));
}

QString clsINI::text(const QString &key)
{
    const Variant v = GetCtrl(key);
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

QString clsINI::ResolveName(const QString &name, const QString &type)
{
    if (type != u"2")
        return name;
    QString path = name;
    // Absolute names stay as they are: a network path, a drive letter, or a path from the root.
    const bool absolute = name.startsWith(QStringLiteral("\\\\")) || name.contains(u':') || name.startsWith(u'/');
    if (name.size() >= 2 && !absolute)
        path = QDir(AppPaths::programFolder()).filePath(name);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return QString();
    return path;
}

QString clsINI::name(const QString &prefix)
{
    const QString stored = text(prefix + QStringLiteral("_NAME"));
    return ResolveName(stored, text(prefix + QStringLiteral("_TYPE")));
}

clsINI::Connection clsINI::ConnectionOf(const QString &prefix)
{
    Connection c;
    const auto key = [&](const char *suffix) { return prefix + QString::fromLatin1(suffix); };
    c.type = text(key("_TYPE"));
    if (c.type == u"1") {
        c.dsn = text(key("_DSN"));
        c.server = text(key("_SERVER"));
        c.name = name(prefix);
        c.user = text(key("_USER"));
        c.password = text(key("_PSWD"));
    } else if (c.type == u"2") {
        c.name = name(prefix);
        c.user = text(key("_USER"));
        c.password = text(key("_PSWD"));
        c.databasePassword = text(key("_DBPW"));
    }
    return c;
}

QString clsINI::DB_TYPE() { return text(QStringLiteral("DB_TYPE")); }
QString clsINI::DB_DSN() { return text(QStringLiteral("DB_DSN")); }
QString clsINI::DB_SERVER() { return text(QStringLiteral("DB_SERVER")); }
QString clsINI::DB_NAME() { return name(QStringLiteral("DB")); }
QString clsINI::DB_USER() { return text(QStringLiteral("DB_USER")); }
QString clsINI::DB_PSWD() { return text(QStringLiteral("DB_PSWD")); }
QString clsINI::DB_DBPW() { return text(QStringLiteral("DB_DBPW")); }
QString clsINI::MST_TYPE() { return text(QStringLiteral("MST_TYPE")); }
QString clsINI::MST_DSN() { return text(QStringLiteral("MST_DSN")); }
QString clsINI::MST_SERVER() { return text(QStringLiteral("MST_SERVER")); }
QString clsINI::MST_NAME() { return name(QStringLiteral("MST")); }
QString clsINI::MST_USER() { return text(QStringLiteral("MST_USER")); }
QString clsINI::MST_PSWD() { return text(QStringLiteral("MST_PSWD")); }
QString clsINI::MST_DBPW() { return text(QStringLiteral("MST_DBPW")); }
