#include "data/Connection.h"

#include "data/DbError.h"
#include "data/FieldValue.h"
#include "data/Schema.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sqlite3.h>

namespace {

QAtomicInt g_connectionCount;

// The pairs of a connection text; a value may stand in double quotes.
QList<QPair<QString, QString>> pairsOf(const QString &text)
{
    QList<QPair<QString, QString>> pairs;
    int i = 0;
    while (i < text.size()) {
        const int eq = text.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = text.mid(i, eq - i).trimmed();
        int j = eq + 1;
        QString value;
        if (j < text.size() && text[j] == u'"') {
            const int close = text.indexOf(u'"', j + 1);
            const int stop = close < 0 ? int(text.size()) : close;
            value = text.mid(j + 1, stop - j - 1);
            j = text.indexOf(u';', stop);
            j = j < 0 ? int(text.size()) : j;
        } else {
            const int semi = text.indexOf(u';', j);
            const int stop = semi < 0 ? int(text.size()) : semi;
            value = text.mid(j, stop - j);
            j = stop;
        }
        pairs.append({key, value});
        i = j + 1;
    }
    return pairs;
}

int errorNumber(const QSqlError &error)
{
    bool ok = false;
    const int n = error.nativeErrorCode().toInt(&ok);
    return ok ? n : 0;
}

} // namespace

std::unique_ptr<Connection> Connection::open(const QString &connectionText)
{
    std::unique_ptr<Connection> c(new Connection);
    c->m_name = QStringLiteral("vantle-%1").arg(g_connectionCount.fetchAndAddRelaxed(1));
    if (connectionText.trimmed().isEmpty())
        throw DbError(QStringLiteral("接続先のデータベースが設定されていません。"));
    if (!textValue(connectionText, QStringLiteral("Provider")).isEmpty())
        c->openSqlite(connectionText);
    else
        c->openOdbc(connectionText);
    return c;
}

Connection::~Connection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen()) {
            if (m_inTransaction) {
                // An unfinished transaction never commits by accident.
                try {
                    rollback();
                } catch (const DbError &) {
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

QString Connection::textValue(const QString &connectionText, const QString &key)
{
    for (const auto &pair : pairsOf(connectionText))
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0)
            return pair.second;
    return QString();
}

namespace {

constexpr int kBusyWaitMs = 10000;

// SQLite's own busy wait looks again only every 100 ms after the first few tries, while registers that
// store back to back take the lock again at once: one register could wait out the whole timeout. Looking
// every millisecond or two gives every waiting register its turn within moments.
int busyWait(void *, int count)
{
    const int pause = count < 50 ? 1 : 2;
    const int waited = count < 50 ? count : 50 + (count - 50) * 2;
    if (waited >= kBusyWaitMs)
        return 0;
    sqlite3_sleep(pause);
    return 1;
}

void waitBriefly(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    if (auto *raw = *static_cast<sqlite3 *const *>(handle.data()))
        sqlite3_busy_handler(raw, busyWait, nullptr);
}

} // namespace

void Connection::openSqlite(const QString &connectionText)
{
    m_engine = Engine::Sqlite;
    m_dialect = std::make_unique<SqliteDialect>();
    const QString path = textValue(connectionText, QStringLiteral("Data Source"));
    if (path.isEmpty())
        throw DbError(QStringLiteral("データベースのファイル名が指定されていません。"));
    if (!QFileInfo(path).isFile())
        throw DbError(QStringLiteral("ファイル '%1' が見つかりません。").arg(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    // Several registers may share the file: wait for another writer instead of failing at once.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs));
    if (!db.open())
        throw DbError(db.lastError().text(), errorNumber(db.lastError()));
    waitBriefly(db);
    // A confirmed sale must survive a power cut; the check also refuses a file that is no database.
    run(QStringLiteral("PRAGMA synchronous=FULL"), QString());
    run(QStringLiteral("SELECT count(*) FROM sqlite_master"), QString());
}

void Connection::openOdbc(const QString &connectionText)
{
    m_engine = Engine::MariaDb;
    m_dialect = std::make_unique<MariaDbDialect>();
    // Empty items would override the data source's own values, so only given ones are passed on.
    QStringList items;
    QString dsn, server, user, password;
    for (const auto &pair : pairsOf(connectionText)) {
        if (pair.second.isEmpty())
            continue;
        const QString key = pair.first.toUpper();
        if (key == u"DSN")
            dsn = pair.second;
        else if (key == u"UID")
            user = pair.second;
        else if (key == u"PWD")
            password = pair.second;
        else
            items << pair.first + u'=' + pair.second;
        if (key == u"SERVER")
            server = pair.second;
    }
    if (dsn.isEmpty() && server.isEmpty())
        throw DbError(QStringLiteral("データソース名もサーバーも設定されていません。"));
    // Matched rather than changed rows for UPDATE, as the file databases count them; UTF-8 throughout.
    items << QStringLiteral("OPTION=2") << QStringLiteral("CHARSET=utf8mb4");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
    // The ODBC driver puts "DSN=" before a text that names no server or driver, and appends the user and
    // password itself; the text must not end with ";".
    if (server.isEmpty())
        db.setDatabaseName(dsn + u';' + items.join(u';'));
    else
        db.setDatabaseName((dsn.isEmpty() ? QStringLiteral("DRIVER={MariaDB Unicode}")
                                          : QStringLiteral("DSN=") + dsn) + u';' + items.join(u';'));
    db.setUserName(user);
    db.setPassword(password);
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!db.open())
        throw DbError(db.lastError().text(), errorNumber(db.lastError()));
    startSession();
}

void Connection::startSession()
{
    // Doubled quotes are the only escaping the register uses; a backslash in a name stays a backslash.
    run(QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_BACKSLASH_ESCAPES')"), QString());
    // Texts come back as their UTF-8 bytes and are decoded here (FieldValue). The server's ODBC driver turns some
    // kana into UTF-16 a character short (オオサカホンテン read as オオサカホンテ), and Qt reads every text as UTF-16.
    run(QStringLiteral("SET SESSION character_set_results = binary"), QString());
}

bool Connection::lost()
{
    if (m_engine != Engine::MariaDb)
        return false;
    QSqlQuery q(database());
    return !q.exec(QStringLiteral("SELECT 1"));
}

bool Connection::reopen()
{
    if (m_engine != Engine::MariaDb)
        return false;
    // Whatever the dropped connection had begun is gone with it.
    m_inTransaction = false;
    QSqlDatabase db = database();
    db.close();
    if (!db.open())
        return false;
    try {
        startSession();
    } catch (const DbError &) {
        db.close();
        return false;
    }
    return true;
}

void Connection::fail(const QString &what, const QString &sql) const
{
    throw DbError(what, 0, sql);
}

void Connection::run(const QString &rendered, const QString &sql)
{
    QSqlQuery q(database());
    if (!q.exec(rendered))
        throw DbError(q.lastError().text(), errorNumber(q.lastError()), sql.isEmpty() ? rendered : sql);
}

void Connection::begin()
{
    if (m_inTransaction)
        fail(QStringLiteral("トランザクションは既に開始されています。"), QString());
    if (m_engine == Engine::Sqlite) {
        // Take the write lock at once: a deferred transaction that reads first could fail half-way when
        // another register writes.
        run(QStringLiteral("BEGIN IMMEDIATE"), QString());
    } else if (!database().transaction()) {
        throw DbError(database().lastError().text(), errorNumber(database().lastError()));
    }
    m_inTransaction = true;
}

void Connection::commit()
{
    if (!m_inTransaction)
        fail(QStringLiteral("トランザクションが開始されていません。"), QString());
    if (m_engine == Engine::Sqlite)
        run(QStringLiteral("COMMIT"), QString());
    else if (!database().commit())
        throw DbError(database().lastError().text(), errorNumber(database().lastError()));
    m_inTransaction = false;
}

void Connection::rollback()
{
    if (!m_inTransaction)
        fail(QStringLiteral("トランザクションが開始されていません。"), QString());
    m_inTransaction = false;
    if (m_engine == Engine::Sqlite)
        run(QStringLiteral("ROLLBACK"), QString());
    else if (!database().rollback())
        throw DbError(database().lastError().text(), errorNumber(database().lastError()));
}

long Connection::execute(const QString &sql)
{
    const QString rendered = render(sql);
    QSqlQuery q(database());
    if (!q.exec(rendered))
        throw DbError(q.lastError().text(), errorNumber(q.lastError()), sql);
    return q.numRowsAffected();
}

Recordset Connection::query(const QString &sql, Recordset::Kind kind)
{
    const QString rendered = render(sql);
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.exec(rendered)) {
        const QSqlError error = q.lastError();
        // Reading again changes nothing; inside a transaction the caller must start over instead.
        if (m_inTransaction || !lost() || !reopen())
            throw DbError(error.text(), errorNumber(error), sql);
        q = QSqlQuery(database());
        q.setForwardOnly(true);
        if (!q.exec(rendered))
            throw DbError(q.lastError().text(), errorNumber(q.lastError()), sql);
    }
    Recordset rs;
    rs.m_kind = kind;
    rs.m_open = true;
    rs.m_connection = this;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        rs.m_names << record.fieldName(i);
    while (q.next()) {
        Recordset::Row row;
        const QSqlRecord values = q.record();
        for (int i = 0; i < values.count(); ++i)
            row.values << FieldValue(values.field(i), values.value(i));
        row.changed.fill(false, row.values.size());
        rs.m_rows << row;
    }
    if (q.lastError().isValid())
        throw DbError(q.lastError().text(), errorNumber(q.lastError()), sql);
    q.finish();
    if (kind == Recordset::Kind::Dynamic) {
        static const QRegularExpression from(QStringLiteral(R"(\bFROM\s+([A-Za-z_]\w*))"),
                                             QRegularExpression::CaseInsensitiveOption);
        rs.m_table = from.match(sql).captured(1);
        for (const auto &row : rs.m_rows)
            rs.m_original << row.values;
    }
    return rs;
}

QString Connection::literal(const Variant &value) const
{
    switch (value.kind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
        return QStringLiteral("NULL");
    case Variant::Kind::Boolean:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case Variant::Kind::Date:
        return SqlDialect::engineDate(value.toDate());
    case Variant::Kind::String:
        return SqlDialect::quoted(value.toString());
    default:
        return value.toString();
    }
}

void Connection::writeRow(const QString &table, const QStringList &names, const QList<Variant> &values,
                          const QList<bool> &changed, const QList<Variant> *original)
{
    QStringList assigned;
    QStringList literals;
    for (int i = 0; i < names.size(); ++i) {
        if (!changed.value(i))
            continue;
        assigned << names[i];
        literals << literal(values[i]);
    }
    if (assigned.isEmpty())
        return;
    QString sql;
    if (!original) {
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, assigned.join(u','), literals.join(u','));
    } else {
        QStringList sets;
        for (int i = 0; i < assigned.size(); ++i)
            sets << assigned[i] + u'=' + literals[i];
        // The row is found again by its key as it was read; a table without a known key by all its values.
        const Schema::Table *known = Schema::table(table);
        QStringList where;
        for (int i = 0; i < names.size(); ++i) {
            if (known && !known->key.contains(names[i], Qt::CaseInsensitive))
                continue;
            const Variant &was = original->at(i);
            if (was.isNull())
                where << names[i] + QStringLiteral(" IS NULL");
            else if (was.kind() == Variant::Kind::Double || was.kind() == Variant::Kind::Single)
                continue; // a binary fraction does not compare reliably
            else
                where << names[i] + u'=' + literal(was);
        }
        if (where.isEmpty())
            fail(QStringLiteral("更新する行を特定できません。"), table);
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table, sets.join(u','), where.join(QStringLiteral(" AND ")));
    }
    if (m_engine == Engine::MariaDb)
        sql = MariaDbDialect::asciiTexts(sql);
    QSqlQuery q(database());
    if (!q.exec(sql))
        throw DbError(q.lastError().text(), errorNumber(q.lastError()), sql);
    if (original && q.numRowsAffected() == 0)
        fail(QStringLiteral("他の端末で変更または削除されたため、データを更新できませんでした。"), sql);
}
