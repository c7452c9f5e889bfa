#pragma once

#include "data/clsData.h"

// The workstation's own settings in INFO.MDB of the program folder, among them the connection values of
// the transaction and master databases.
class clsINI : public clsData
{
public:
    clsINI();
    ~clsINI() override;
    void OpenCnn() override;

    QString DB_TYPE();
    QString DB_DSN();
    QString DB_SERVER();
    QString DB_NAME();   // a file name resolved against the program folder (see ResolveName)
    QString DB_USER();
    QString DB_PSWD();
    QString DB_DBPW();
    QString MST_TYPE();
    QString MST_DSN();
    QString MST_SERVER();
    QString MST_NAME();
    QString MST_USER();
    QString MST_PSWD();
    QString MST_DBPW();

    // The connection values of the transaction ("DB") or master ("MST") database, read in the order the
    // connection needs them: the type, then for a server DSN, server, name, user, password; for a file
    // name, user, password, database password.
    struct Connection { QString type, dsn, server, name, user, password, databasePassword; };
    Connection ConnectionOf(const QString &prefix);

    // For a file database (type "2"): a relative name is taken from the program folder, and a file that
    // does not exist gives "". Names of server databases come back as stored.
    static QString ResolveName(const QString &name, const QString &type);

    // The file of INFO.MDB and its fixed database password.
    static QString FilePath();
    static const QString DatabasePassword;

private:
    QString text(const QString &key);
    QString name(const QString &prefix);
};
