#pragma once

#include <QString>

// The stored forms of the connection settings, as the register has always written them.
namespace ConnectionText {

// "DSN=...;SERVER=...;DB=...;UID=...;PWD=...;"
QString server(const QString &dsn, const QString &server, const QString &name, const QString &user,
               const QString &password);
// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"...\";User ID=...;Password=...;" and, only with a database
// password, "Jet OLEDB:Database Password=...;".
QString file(const QString &path, const QString &user, const QString &password, const QString &databasePassword);

} // namespace ConnectionText
