#include "data/clsData.h"

#include "base/Common.h"
#include "base/Format.h"
#include "data/Connection.h"
#include "data/ConnectionText.h"
#include "data/DataEvents.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/Transaction.h"
#include "data/clsINI.h"

namespace {

enum CtrlType { Bool = 1, Byte = 2, Int16 = 3, Long = 4, Money = 5, Single = 6, Double = 7, DateTime = 8 };

Variant converted(const QString &text, int type)
{
    const Variant v(text);
    switch (type) {
    case Bool: return Variant(v.toBool());
    case Byte: {
        const qint32 n = v.toLong();
        if (n < 0 || n > 255)
            throw ConversionError("Overflow");
        return Variant::byte(quint8(n));
    }
    case Int16: {
        const qint32 n = v.toLong();
        if (n < -32768 || n > 32767)
            throw ConversionError("Overflow");
        return Variant::integer(qint16(n));
    }
    case Long: return Variant(v.toLong());
    case Money: return Variant(v.toCurrency());
    case Single: return Variant::single(float(v.toDouble()));
    case Double: return Variant(v.toDouble());
    case DateTime: return Variant::date(v.toDate());
    default: return v;
    }
}

QString storedText(const Variant &value, int type)
{
    switch (type) {
    case Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case DateTime: return Format::date(value.toDate(), QStringLiteral("yyyy/mm/dd hh:nn:ss"));
    case Byte: case Int16: case Long: return QString::number(value.toLong());
    case Money: return value.toCurrency().toPlainText();
    default: return value.toString();
    }
}

void showCtrlFailure(const QString &description, int number)
{
    MsgBoxEx(description + QStringLiteral("(%1)").arg(number), Msg::Critical);
}

} // namespace

clsData::~clsData() = default;

bool clsData::isOpen() const
{
    return m_cnn && m_cnn->database().isOpen();
}

Connection &clsData::requireConnection() const
{
    if (!m_cnn)
        throw DbError(QStringLiteral("データベースに接続されていません。"));
    return *m_cnn;
}

void clsData::openFromText(const QString &connectionText)
{
    m_cnn.reset();
    m_cnn = Connection::open(connectionText);
}

QStringList clsData::settingsOf(const QString &prefix)
{
    // Without INFO.MDB nothing is configured (its failure was told when it was opened).
    if (!gIni || !gIni->isOpen())
        return QStringList(7, QString());
    const clsINI::Connection c = gIni->ConnectionOf(prefix);
    return {c.type, c.dsn, c.server, c.name, c.user, c.password, c.databasePassword};
}

void clsData::openConfigured(const QString &prefix, const QString &failureMessage)
{
    m_prefix = prefix;
    for (;;) {
        QStringList settings;
        try {
            m_cnn.reset();
            m_dbType.clear();
            settings = settingsOf(prefix);
            const QString &type = settings[0];
            QString text;
            if (type == u"1") {
                m_dbType = QStringLiteral("MYSQL");
                text = ConnectionText::server(settings[1], settings[2], settings[3], settings[4], settings[5]);
            } else if (type == u"2") {
                m_dbType = QStringLiteral("ACCESS");
                text = ConnectionText::file(settings[3], settings[4], settings[5], settings[6]);
            }
            openFromText(text);
            m_failedWith.reset();
            return;
        } catch (const std::exception &e) {
            WriteLog(QString::fromStdString(e.what()));
        }
        m_failedWith = settings;
        failedOpening(failureMessage);
        // Settings saved in the connection dialog are tried at once; a dialog left without saving leaves
        // the object without a connection.
        if (settingsOf(prefix) == settings)
            return;
    }
}

void clsData::openForLookup()
{
    if (m_cnn)
        return;
    if (m_failedWith && settingsOf(m_prefix) == *m_failedWith)
        return; // the next lookup fails with "not connected"
    OpenCnn();
}

void clsData::failedOpening(const QString &message)
{
    if (MsgBoxEx(message, Msg::YesNo | Msg::Critical) == Msg::Yes)
        emit DataEvents::instance().connectionSettingsWanted();
    else
        emit DataEvents::instance().programEndWanted();
}

void clsData::Begintrans()
{
    requireConnection().begin();
}

void clsData::CommitTrans()
{
    requireConnection().commit();
}

void clsData::RollbackTrans()
{
    requireConnection().rollback();
}

Recordset clsData::OpenSchema(int schemaKind, const Variant &, const Variant &)
{
    constexpr int tablesSchema = 20;
    if (schemaKind != tablesSchema)
        throw DbError(QStringLiteral("この種類のスキーマ情報は取得できません。"));
    const QString sql = requireConnection().engine() == Connection::Engine::Sqlite
        ? QStringLiteral("SELECT name AS TABLE_NAME FROM sqlite_master WHERE type='table' ORDER BY name")
        : QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() "
                         "ORDER BY TABLE_NAME");
    return requireConnection().query(sql, Recordset::Kind::Static);
}

Recordset clsData::GetFwdOnlyRst(const QString &sql)
{
    WriteLog(sql);
    return requireConnection().query(sql, Recordset::Kind::ForwardOnly);
}

Recordset clsData::GetStaticRst(const QString &sql)
{
    WriteLog(sql);
    return requireConnection().query(sql, Recordset::Kind::Static);
}

Recordset clsData::GetDynamicRst(const QString &sql)
{
    WriteLog(sql);
    return requireConnection().query(sql, Recordset::Kind::Dynamic);
}

void clsData::CloseCnn()
{
    m_cnn.reset();
}

void clsData::EXEC(const QString &sql, long *recordsAffected, int)
{
    const long n = requireConnection().execute(sql);
    if (recordsAffected)
        *recordsAffected = n;
}

QString clsData::TranslateCriteria(const QString &criteria, const QString &dbType)
{
    if (dbType == u"ACCESS")
        return criteria;
    QString t = criteria;
    t.replace(QStringLiteral("'*"), QStringLiteral("'%"));
    t.replace(QStringLiteral("*'"), QStringLiteral("%'"));
    return t;
}

Variant clsData::aggregate(const QString &function, const QString &expr, const QString &domain,
                           const QString &criteria)
{
    openForLookup();
    QString sql = function.isEmpty() ? QStringLiteral("SELECT ") + expr
                                     : QStringLiteral("SELECT %1(%2)").arg(function, expr);
    sql += QStringLiteral(" FROM ") + domain;
    if (!criteria.isEmpty())
        sql += QStringLiteral(" WHERE ") + TranslateCriteria(criteria, m_dbType);
    Recordset rs = requireConnection().query(sql, Recordset::Kind::ForwardOnly);
    if (rs.EOF_())
        return Variant::null();
    return rs.Fields(0);
}

Variant clsData::DMax(const QString &expr, const QString &domain, const QString &criteria)
{
    return aggregate(QStringLiteral("MAX"), expr, domain, criteria);
}

Variant clsData::DMin(const QString &expr, const QString &domain, const QString &criteria)
{
    return aggregate(QStringLiteral("MIN"), expr, domain, criteria);
}

Variant clsData::DCount(const QString &expr, const QString &domain, const QString &criteria)
{
    return aggregate(QStringLiteral("COUNT"), expr, domain, criteria);
}

Variant clsData::DSUM(const QString &expr, const QString &domain, const QString &criteria)
{
    return aggregate(QStringLiteral("SUM"), expr, domain, criteria);
}

Variant clsData::DLookup(const QString &expr, const QString &domain, const QString &criteria)
{
    return aggregate(QString(), expr, domain, criteria);
}

Variant clsData::DJoin(const QString &expr, const QString &domain, const QString &criteria)
{
    openForLookup();
    QString sql = QStringLiteral("SELECT ") + expr + QStringLiteral(" FROM ") + domain;
    if (!criteria.isEmpty())
        sql += QStringLiteral(" WHERE ") + TranslateCriteria(criteria, m_dbType);
    Recordset rs = requireConnection().query(sql, Recordset::Kind::ForwardOnly);
    if (rs.EOF_())
        return Variant::null();
    QString joined;
    for (; !rs.EOF_(); rs.MoveNext()) {
        const Variant v = rs.Fields(0);
        joined += u' ' + (v.isNull() ? QString() : v.toString());
    }
    // Only the outer blanks go: a Null between two values leaves two blanks.
    while (joined.startsWith(u' '))
        joined.remove(0, 1);
    while (joined.endsWith(u' '))
        joined.chop(1);
    return Variant(joined);
}

Variant clsData::GetCtrl(const QString &key)
{
    try {
        Recordset rs = requireConnection().query(
            Sql(R"(SELECT CTRL_VALUE ,CTRL_TYPE FROM S_CTRL WHERE CTRL_CD=:key)").text("key", key),
            Recordset::Kind::ForwardOnly);
        if (rs.EOF_())
            return Variant();
        const Variant value = rs.Fields(0);
        if (value.isNull())
            return value;
        const Variant type = rs.Fields(1);
        return converted(value.toString(), type.isNull() ? 0 : type.toLong());
    } catch (const DbError &e) {
        showCtrlFailure(e.description(), e.number());
    } catch (const std::exception &e) {
        showCtrlFailure(QString::fromStdString(e.what()), 0);
    }
    return Variant();
}

bool clsData::SaveCtrl(const QString &key, const Variant &value)
{
    // The local database belongs to this workstation alone; the lock mode only matters on shared ones,
    // where the update finds its row by key and fails if another register removed it meanwhile.
    try {
        Connection &cnn = requireConnection();
        std::optional<Transaction> own;
        if (m_pessimisticSave)
            own.emplace(*this, Transaction::Scope::JoinOpen);
        Recordset rs = cnn.query(Sql(R"(SELECT * FROM S_CTRL WHERE CTRL_CD=:key)").text("key", key), Recordset::Kind::Dynamic);
        const bool empty = value.isEmpty() || value.isNull() || (value.kind() == Variant::Kind::String
                                                                && value.toString().isEmpty());
        if (!rs.EOF_()) {
            const Variant type = rs.Fields(QStringLiteral("CTRL_TYPE"));
            rs.setField(QStringLiteral("CTRL_VALUE"),
                        empty ? Variant::null() : Variant(storedText(value, type.isNull() ? 0 : type.toLong())));
        } else {
            rs.AddNew();
            rs.setField(QStringLiteral("CTRL_CD"), Variant(key));
            rs.setField(QStringLiteral("CTRL_VALUE"), empty ? Variant::null() : Variant(value.toString()));
        }
        rs.Update();
        rs.Close();
        if (own)
            own->commit();
        return true;
    } catch (const DbError &e) {
        showCtrlFailure(e.description(), e.number());
    } catch (const std::exception &e) {
        showCtrlFailure(QString::fromStdString(e.what()), 0);
    }
    return false;
}

long clsData::ReleaseData(const QString &table, const QString &criteria)
{
    QString sql = Sql(R"(UPDATE :table SET LAST_TM=HOLD_TM, HOLD_TM=NULL WHERE HOLD_TM=:workstation)")
                      .raw("table", table)
                      .text("workstation", GetCompName());
    if (!criteria.isEmpty())
        sql += QStringLiteral(" AND ") + criteria;
    try {
        EXEC(sql);
        return 0;
    } catch (const DbError &e) {
        WriteLog(QStringLiteral("(%1)%2 SQL:%3").arg(e.number()).arg(e.description(), sql));
        return e.number() != 0 ? e.number() : -1;
    }
}
