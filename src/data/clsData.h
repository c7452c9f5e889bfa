#pragma once

#include "base/Variant.h"
#include "data/Recordset.h"

#include <QString>
#include <memory>
#include <optional>

class Connection;

// The operations every data object offers: transactions, result sets, statements, the domain functions
// and the control values. clsDb, clsMst and clsINI differ only in how they open their connection, in the
// message of a failed opening, and in how they lock a control value while saving it.
//
// Statements are written in the register's SQL (dates between "#", texts between "'"); the connection
// renders them for its engine. Engine failures throw DbError unless an operation says otherwise.
class clsData
{
public:
    virtual ~clsData();
    clsData(const clsData &) = delete;
    clsData &operator=(const clsData &) = delete;

    // "ACCESS", "MYSQL" or "" (not configured).
    QString DBTYPE() const { return m_dbType; }
    bool isOpen() const;
    Connection *connection() const { return m_cnn.get(); }

    void Begintrans();
    void CommitTrans();
    void RollbackTrans();

    // Schema kind 20 lists the tables (TABLE_NAME); no routine of the register needs more.
    Recordset OpenSchema(int schemaKind, const Variant &restrictions = Variant(), const Variant &schemaId = Variant());
    Recordset GetFwdOnlyRst(const QString &sql);
    Recordset GetStaticRst(const QString &sql);
    Recordset GetDynamicRst(const QString &sql);

    // Opens the connection. The transaction and master databases ask the operator when that fails (see
    // openConfigured); a call is an explicit attempt, so it asks again when it fails again.
    virtual void OpenCnn() = 0;
    void CloseCnn();

    void EXEC(const QString &sql, long *recordsAffected = nullptr, int options = 0);

    Variant DMax(const QString &expr, const QString &domain, const QString &criteria = QString());
    Variant DMin(const QString &expr, const QString &domain, const QString &criteria = QString());
    Variant DCount(const QString &expr, const QString &domain, const QString &criteria = QString());
    Variant DSUM(const QString &expr, const QString &domain, const QString &criteria = QString());
    Variant DLookup(const QString &expr, const QString &domain, const QString &criteria = QString());
    Variant DJoin(const QString &expr, const QString &domain, const QString &criteria = QString());

    // Control values: see ControlValues below for the conversions. Failures are shown to the operator;
    // GetCtrl then returns Empty and SaveCtrl false.
    Variant GetCtrl(const QString &key);
    bool SaveCtrl(const QString &key, const Variant &value);

    // Clears the row holds of this workstation in a table with HOLD_TM/LAST_TM columns; 0 when done.
    virtual long ReleaseData(const QString &table, const QString &criteria = QString());

    // The domain criteria as they reach an engine other than the file databases: "'*" and "*'" become the
    // wildcards "'%" and "%'". (Date literals are rendered with every statement.)
    static QString TranslateCriteria(const QString &criteria, const QString &dbType);

protected:
    clsData() = default;
    void openFromText(const QString &connectionText);
    // Opens the transaction or master database from the settings with that prefix ("DB", "MST"). A failure
    // asks the operator once (see failedOpening); settings saved in the connection dialog are tried at
    // once. Otherwise the object stays without a connection: lookups then fail without asking again, until
    // the connection settings change or an explicit action (OpenCnn: storing a sale, a restart) tries again.
    void openConfigured(const QString &prefix, const QString &failureMessage);
    // Shows the opening failure's message and announces the answer (DataEvents): Yes leads to the connection
    // settings, No to the end of the program.
    void failedOpening(const QString &message);
    bool savePessimistic() const { return m_pessimisticSave; }

    std::unique_ptr<Connection> m_cnn;
    QString m_dbType;
    bool m_pessimisticSave = false;

private:
    QString m_prefix;
    // The settings of the last failed opening that the operator was asked about; empty after a success.
    std::optional<QStringList> m_failedWith;

private:
    // The connection settings of the transaction or master database as they stand now.
    static QStringList settingsOf(const QString &prefix);
    // A domain function opens a released connection again, but not one that failed with the settings
    // the operator was already asked about.
    void openForLookup();
    Variant aggregate(const QString &function, const QString &expr, const QString &domain, const QString &criteria);
    Connection &requireConnection() const;
};
