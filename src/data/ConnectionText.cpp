#include "data/ConnectionText.h"

namespace ConnectionText {

QString server(const QString &dsn, const QString &server, const QString &name, const QString &user,
               const QString &password)
{
    return QStringLiteral("DSN=") + dsn + u';' + QStringLiteral("SERVER=") + server + u';' + QStringLiteral("DB=")
        + name + u';' + QStringLiteral("UID=") + user + u';' + QStringLiteral("PWD=") + password + u';';
}

QString file(const QString &path, const QString &user, const QString &password, const QString &databasePassword)
{
    QString text = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;") + QStringLiteral("Data Source=\"") + path
        + QStringLiteral("\";") + QStringLiteral("User ID=") + user + u';' + QStringLiteral("Password=") + password
        + u';';
    if (!databasePassword.isEmpty())
        text += QStringLiteral("Jet OLEDB:Database Password=") + databasePassword + u';';
    return text;
}

} // namespace ConnectionText
