#include "data/ProgramFolder.h"

#include "data/Connection.h"
#include "data/ConnectionText.h"
#include "data/DbError.h"
#include "data/DemoMasters.h"
#include "data/Schema.h"
#include "data/SqlDialect.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

using Pairs = QList<QPair<QString, QString>>;

void createDatabase(const QString &path, Schema::Store store)
{
    const QString name = QStringLiteral("vantle-create-") + path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            throw DbError(db.lastError().text());
        QSqlQuery q(db);
        for (const QString &ddl : Schema::createStatements(store, Schema::Engine::Sqlite))
            if (!q.exec(ddl))
                throw DbError(q.lastError().text(), 0, ddl);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void fill(const QString &path, const QStringList &rows)
{
    auto cnn = Connection::open(ConnectionText::file(path, QString(), QString(), QString()));
    cnn->begin();
    for (const QString &sql : rows)
        cnn->execute(sql);
    cnn->commit();
}

QStringList controlRows(const Pairs &controls)
{
    QStringList rows;
    for (const auto &[key, value] : controls)
        rows << QStringLiteral("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE) VALUES (%1, %2)")
                    .arg(SqlDialect::text(key), SqlDialect::text(value));
    return rows;
}

Pairs localSettings(const QString &folder, bool demo)
{
    return {
        {"DB_TYPE", "2"}, {"DB_NAME", ProgramFolder::TransactionFile},
        {"MST_TYPE", "2"}, {"MST_NAME", ProgramFolder::MasterFile},
        // The demo prints on the virtual printers, which write into VANTLE_PRINT_DIR.
        {"DEF_PRINTER", demo ? QStringLiteral("VirtualPDF") : QString()},
        {"DEF_RECEIPT", demo ? QStringLiteral("VirtualReceipt") : QString()},
        {"PRINT_LOGO", "0"}, {"PRINT_LOGO_NO", "0"}, {"PAPER_CUT", "1"}, {"DRAWER_OPEN", "1"},
        {"DAILY_REPORT_PAPER_BIN", "1"}, {"DAILY_REPORT_TOP_MGN", "567"}, {"DAILY_REPORT_LEFT_MGN", "567"},
        {"BANK_TRN_PAPER_BIN", "1"}, {"BANK_TRN_TOP_MGN", "567"}, {"BANK_TRN_LEFT_MGN", "567"},
        {"BACK_PATH", QDir(folder).filePath(QStringLiteral("backup"))},
        {"REG_USER", demo ? QStringLiteral("レジ1") : QString()},
        {"DAILY_ADJ", "1"}, {"PAY_CLS", "1"}, {"PRINT_DAILY_REPORT", "1"}, {"PRINT_BANK_TRN", "1"},
    };
}

Pairs transactionControls()
{
    return {{"NEW_REG_ID", "0"}};
}

Pairs shopControls(bool demo)
{
    Pairs pairs{
        {"COM_NM", demo ? QStringLiteral("みのり農産物直売所") : QString()},
        {"COM_OMT", demo ? QStringLiteral("みのり直売所") : QString()},
        {"TAX_RT", "0.08"}, {"FEE_RT", "0.15"},
        {"RCPT_MSG1", demo ? QStringLiteral("毎度ありがとうございます") : QString()},
        {"RCPT_MSG2", demo ? QStringLiteral("朝採れ野菜を毎日入荷しています") : QString()},
        {"RCPT_MSG3", demo ? QStringLiteral("営業時間 9:00～17:00 水曜定休") : QString()},
        {"PRINT_OLD_DATE", demo ? "1" : "0"}, {"PRINT_FWD", demo ? "1" : "0"},
        // Monthly closing on the 15th (paid the 25th) and at the month end (paid the 10th of the next month).
        {"CLS_TYPE", "3"}, {"CLS_SITE_DAY", "0"},
        {"CLS_M_1", "15"}, {"CLS_M_SITE1", "0"}, {"CLS_M_PAY1", "25"},
        {"CLS_M_2", "31"}, {"CLS_M_SITE2", "1"}, {"CLS_M_PAY2", "10"},
        {"CLS_M_3", "0"}, {"CLS_M_SITE3", "0"}, {"CLS_M_PAY3", "0"},
        {"CLS_W_1", "0"}, {"CLS_W_SITE1", "0"}, {"CLS_W_PAY1", "0"},
        {"CLS_W_2", "0"}, {"CLS_W_SITE2", "0"}, {"CLS_W_PAY2", "0"},
    };
    // The change fund: pieces of 10000, 5000, 2000, 1000, 500, 100, 50, 10, 5 and 1 yen.
    const char *fund[] = {"0", "2", "0", "20", "10", "50", "20", "50", "20", "50"};
    for (int i = 0; i < 10; ++i)
        pairs.append({QStringLiteral("DEF_%1").arg(i + 1, 2, 10, QLatin1Char('0')), QString::fromLatin1(fund[i])});
    if (demo) {
        pairs.append({"PAY_BANK_NM", QStringLiteral("みのり農業協同組合")});
        pairs.append({"PAY_BR_NM", QStringLiteral("本店")});
        pairs.append({"PAY_ACC_KBN", QStringLiteral("普通")});
        pairs.append({"PAY_ACC_NO", QStringLiteral("1234567")});
        pairs.append({"PAY_ACC_NM", QStringLiteral("ﾐﾉﾘﾉｳｻﾝﾌﾞﾂﾁｮｸﾊﾞｲｼﾞｮ")});
    }
    return pairs;
}

} // namespace

namespace ProgramFolder {

QStringList initialRows(Schema::Store store, const QString &folder, bool demo)
{
    switch (store) {
    case Schema::Store::Local:
        return controlRows(localSettings(folder, demo));
    case Schema::Store::Transaction:
        return controlRows(transactionControls());
    case Schema::Store::Master:
        return controlRows(shopControls(demo)) + (demo ? DemoMasters::masterInserts() : QStringList());
    }
    return {};
}

QString create(const QString &folder, bool demo)
{
    QDir dir(folder);
    const bool existed = dir.exists();
    if (existed && !dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        return QStringLiteral("フォルダ %1 は空ではありません。既存のプログラムフォルダは変更しません。").arg(dir.absolutePath());
    if (!dir.mkpath(QStringLiteral(".")) || !dir.mkpath(QStringLiteral("backup")))
        return QStringLiteral("フォルダ %1 を作成できません。").arg(dir.absolutePath());
    const QString absolute = dir.absolutePath();
    try {
        const QString info = dir.filePath(QStringLiteral("INFO.MDB"));
        const QString transaction = dir.filePath(TransactionFile);
        const QString master = dir.filePath(MasterFile);
        createDatabase(info, Schema::Store::Local);
        createDatabase(transaction, Schema::Store::Transaction);
        createDatabase(master, Schema::Store::Master);
        fill(info, initialRows(Schema::Store::Local, absolute, demo));
        fill(transaction, initialRows(Schema::Store::Transaction, absolute, demo));
        fill(master, initialRows(Schema::Store::Master, absolute, demo));
    } catch (const DbError &e) {
        // Nothing half-made stays behind.
        if (existed) {
            for (const QString &entry : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
                QFileInfo(dir.filePath(entry)).isDir() ? QDir(dir.filePath(entry)).removeRecursively()
                                                       : dir.remove(entry);
        } else {
            dir.removeRecursively();
        }
        return e.description() + (e.sql().isEmpty() ? QString() : QStringLiteral(" SQL:") + e.sql());
    }
    return QString();
}

} // namespace ProgramFolder
