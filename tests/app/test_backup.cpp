// The backup of the transaction database and the start of the price-tag program.
#include "app/BackupDb.h"
#include "base/DateValue.h"
#include "base/TagProgram.h"
#include "calendar/frmSetCal.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <csignal>

namespace {

// The first value of a query on an SQLite file, through a connection of its own ("failed" when it fails).
QString onFile(const QString &file, const QString &sql)
{
    QString result = QStringLiteral("failed");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                result = query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
    return result;
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void touch(const QString &path, const QByteArray &content = "copy")
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void oneFilePerDayFailuresAndNoBackup();
    void copyIncludesAnOpenWal();
    void keepsTheMostRecentDailyCopies();
    void tagProgramStartsOnce();

private:
    std::unique_ptr<TestProgram> m_program;
    QString m_backups;
};

void TestBackup::init()
{
    m_program = TestProgram::opened();
    m_backups = m_program->path(QStringLiteral("backup"));
    QDir().mkpath(m_backups);
    QVERIFY(gIni->SaveCtrl(QStringLiteral("BACK_PATH"), m_backups + u'/'));
}

void TestBackup::cleanup()
{
    m_program.reset();
}

void TestBackup::oneFilePerDayFailuresAndNoBackup()
{
    // The folder as typed, with or without a final separator.
    QCOMPARE(BackupTarget(m_backups + QStringLiteral("\\"), DateValue::fromParts(2024, 4, 1)),
             m_backups + QStringLiteral("\\20240401.mdb"));
    const QString target = BackupTarget(m_backups, DateValue::fromParts(2024, 4, 1));
    QCOMPARE(target, m_backups + QStringLiteral("/20240401.mdb"));
    BackupDb();
    QCOMPARE(onFile(target, QStringLiteral("SELECT COUNT(*) FROM D_REG")), QStringLiteral("0"));
    // A later run of the same day: one file, holding the later state.
    gDb->EXEC(QStringLiteral("INSERT INTO D_REG (REG_ID, REG_NO, SALES_DATE) VALUES (7, 1, #2024-04-01 00:00:00#)"));
    gDb.reset();
    m_program->clock().advanceMSecs(3600 * 1000);
    BackupDb();
    QCOMPARE(filesIn(m_backups), QStringList{QStringLiteral("20240401.mdb")});
    QCOMPARE(onFile(target, QStringLiteral("SELECT COUNT(*) FROM D_REG")), QStringLiteral("1"));

    // A copy that fails (a file that is no database, or none): the engine's reason in the log, the earlier
    // backup as it was, and the copies already made all kept, whatever the number to keep says.
    const QByteArray earlier = contentOf(target);
    touch(m_program->path(QStringLiteral("broken.mdb")), QByteArray(8192, 'x'));
    QVERIFY(!BackupSqliteFile(m_program->path(QStringLiteral("missing.mdb")), target).isEmpty());
    QVERIFY(gIni->SaveCtrl(QStringLiteral("DB_NAME"), QStringLiteral("broken.mdb")));
    QVERIFY(gIni->SaveCtrl(kBackupKeepKey, QStringLiteral("1")));
    touch(m_backups + QStringLiteral("/20240330.mdb"));
    BackupDb();
    QVERIFY(m_program->logLines().last().endsWith(QStringLiteral("バックアップ失敗:file is not a database")));
    QCOMPARE(contentOf(target), earlier);
    const QStringList files = filesIn(m_backups);
    QCOMPARE(files, (QStringList{QStringLiteral("20240330.mdb"), QStringLiteral("20240401.mdb")}));

    // A folder that is missing: one line in the log, no message, and no folder made.
    const QString missing = m_program->path(QStringLiteral("no-such-folder"));
    QVERIFY(gIni->SaveCtrl(QStringLiteral("BACK_PATH"), missing));
    qsizetype before = m_program->logLines().size();
    BackupDb();
    QCOMPARE(m_program->logLines().size(), before + 1);
    QVERIFY(m_program->logLines().last().endsWith(QStringLiteral("BACK_PATH:") + missing + u'/'));
    QVERIFY(m_program->messages().shown().isEmpty() && !QFileInfo::exists(missing));
    // The database on the server: the server's own backup, nothing here.
    QVERIFY(gIni->SaveCtrl(QStringLiteral("BACK_PATH"), m_backups));
    QVERIFY(gIni->SaveCtrl(QStringLiteral("DB_TYPE"), QStringLiteral("1")));
    before = m_program->logLines().size();
    BackupDb();
    QCOMPARE(m_program->logLines().size(), before);
    QCOMPARE(filesIn(m_backups), files);
}

void TestBackup::copyIncludesAnOpenWal()
{
    gDb.reset();
    const QString source = m_program->path(QStringLiteral("regi.mdb"));
    const QString target = m_backups + QStringLiteral("/copy.mdb");
    // Another register writes in WAL mode and keeps its connection: the new rows are only in the WAL file.
    QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
    writer.setDatabaseName(source);
    QVERIFY(writer.open());
    {
        QSqlQuery query(writer);
        QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode=WAL")));
        QVERIFY(query.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
        for (int id = 1; id <= 200; ++id)
            QVERIFY(query.exec(QStringLiteral("INSERT INTO D_REG (REG_ID, REG_NO, SALES_DATE) "
                                              "VALUES (%1, %1, '2024-04-01 00:00:00')").arg(id)));
    }
    QVERIFY(QFileInfo(source + QStringLiteral("-wal")).size() > 0);

    QCOMPARE(BackupSqliteFile(source, target), QString());
    QCOMPARE(onFile(target, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    QCOMPARE(onFile(target, QStringLiteral("SELECT COUNT(*) FROM D_REG")), QStringLiteral("200"));
    // The backup is one file of its own: no journal beside it.
    QCOMPARE(onFile(target, QStringLiteral("PRAGMA journal_mode")), QStringLiteral("delete"));
    QCOMPARE(filesIn(m_backups), QStringList{QStringLiteral("copy.mdb")});
    writer.close();
    writer = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));
}

void TestBackup::keepsTheMostRecentDailyCopies()
{
    gDb.reset();
    // A month of copies, and files that only look like them: never removed.
    for (int day = 1; day <= 31; ++day)
        touch(m_backups + QStringLiteral("/202403%1.mdb").arg(day, 2, 10, QLatin1Char('0')));
    const QStringList others{QStringLiteral("20240399.mdb"), QStringLiteral("2024031.mdb"),
                             QStringLiteral("20240301.mdb.old")};
    for (const QString &name : others)
        touch(m_backups + u'/' + name);
    QVERIFY(QDir(m_backups).mkdir(QStringLiteral("20240201.mdb")));

    // Not set: 31 copies, so today's pushes the oldest out.
    BackupDb();
    const QStringList files = filesIn(m_backups);
    QVERIFY(!files.contains(QStringLiteral("20240301.mdb")) && files.contains(QStringLiteral("20240302.mdb")));
    QCOMPARE(files.size(), 31 + others.size());
    QVERIFY(m_program->logLines().last().endsWith(QStringLiteral("バックアップ削除:") + m_backups + QStringLiteral("/20240301.mdb")));

    // Three; a copy from a clock set wrong once does not push today's out.
    touch(m_backups + QStringLiteral("/20300101.mdb"));
    QVERIFY(gIni->SaveCtrl(kBackupKeepKey, QStringLiteral("3")));
    BackupDb();
    QStringList kept = others + QStringList{QStringLiteral("20240331.mdb"), QStringLiteral("20240401.mdb"),
                                            QStringLiteral("20300101.mdb")};
    kept.sort();
    QCOMPARE(filesIn(m_backups), kept);
    QVERIFY(QFileInfo(m_backups + QStringLiteral("/20240201.mdb")).isDir());

    // 0 keeps them all.
    QVERIFY(gIni->SaveCtrl(kBackupKeepKey, QStringLiteral("0")));
    touch(m_backups + QStringLiteral("/20230101.mdb"));
    BackupDb();
    QVERIFY(filesIn(m_backups).contains(QStringLiteral("20230101.mdb")));
}

void TestBackup::tagProgramStartsOnce()
{
    RunTagProgram(); // not installed: nothing happens

    // A stand-in price-tag program that counts its starts and runs until it is stopped.
    const QString program = m_program->path(QStringLiteral("velmora"));
    touch(program, "#!/bin/sh\necho started >> \"$VANTLE_HOME/starts.txt\"\ntrap 'kill $! 2>/dev/null; exit 0' TERM\n"
                   "sleep 60 &\nwait\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);

    gSalesDate = DateValue::fromParts(2024, 4, 1);
    frmSetCal calendar;
    QVERIFY(calendar.Command1[5]->isVisibleTo(&calendar));
    QTest::keyClick(&calendar, Qt::Key_F5);
    qint64 running = 0;
    QTRY_VERIFY_WITH_TIMEOUT((running = FindTagWindow()) != 0, 10000);
    const QString starts = m_program->path(QStringLiteral("starts.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(starts).size() > 0, 10000);
    // The second F5 finds the running copy and starts no other.
    QTest::keyClick(&calendar, Qt::Key_F5);
    QTest::qWait(500);
    QCOMPARE(contentOf(starts), QByteArray("started\n"));
    QCOMPARE(FindTagWindow(), running);
    ::kill(pid_t(running), SIGTERM);
    QTRY_COMPARE_WITH_TIMEOUT(FindTagWindow(), qint64(0), 10000);
}

QTEST_MAIN(TestBackup)
#include "test_backup.moc"
