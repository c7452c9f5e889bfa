#include "app/SqliteFileCopy.h"

#include "base/Progress.h"

#include <QFile>
#include <algorithm>
#include <sqlite3.h>

#ifdef Q_OS_UNIX
#include <fcntl.h> // also sync_file_range on Linux
#include <unistd.h>
#endif


namespace {

// The copy is given to the disk as it goes, a stretch at a time, while the next stretch is copied: the
// disk writes alongside the copy instead of after it, and the final sync finds little left to write.
constexpr qint64 kBytesPerStretch = 64 << 20;
// A file is copied a megabyte at a time, as a file manager copies it.
constexpr qint64 kBytesPerRead = 1 << 20;

struct SqliteHandle
{
    sqlite3 *db = nullptr;
    ~SqliteHandle() { sqlite3_close_v2(db); }
};

QString sqliteMessage(sqlite3 *db, int code)
{
    const char *text = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    return QString::fromUtf8(text ? text : "SQLite error");
}

// Runs a statement that returns nothing of interest; "" when done, else the engine's reason.
QString run(sqlite3 *db, const char *sql)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    QString problem;
    if (rc != SQLITE_OK)
        problem = error ? QString::fromUtf8(error) : sqliteMessage(db, rc);
    sqlite3_free(error);
    return problem;
}

// The first value of a pragma as text; when it cannot be read, the engine's reason goes to `problem`.
QString pragma(sqlite3 *db, const char *sql, QString &problem)
{
    sqlite3_stmt *statement = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    else if (problem.isEmpty())
        problem = sqliteMessage(db, sqlite3_errcode(db));
    sqlite3_finalize(statement);
    return value;
}

// Writes a copy out to the disk while it grows (Linux starts each stretch without waiting for it), and
// makes sure at the end that all of it is there.
class DiskWriter
{
public:
    explicit DiskWriter(const QString &path)
    {
#ifdef Q_OS_UNIX
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
#else
        Q_UNUSED(path);
#endif
    }
    ~DiskWriter()
    {
#ifdef Q_OS_UNIX
        if (m_fd >= 0)
            ::close(m_fd);
#endif
    }
    DiskWriter(const DiskWriter &) = delete;
    DiskWriter &operator=(const DiskWriter &) = delete;

    // The copy has grown to `bytes`.
    void grown(qint64 bytes)
    {
        if (bytes - m_started < kBytesPerStretch)
            return;
#ifdef Q_OS_LINUX
        if (m_fd >= 0)
            ::sync_file_range(m_fd, m_started, bytes - m_started, SYNC_FILE_RANGE_WRITE);
#endif
        m_started = bytes;
    }
    // All of the copy on the disk; false when the system says it could not write it.
    bool finish()
    {
#ifdef Q_OS_UNIX
        return m_fd < 0 || ::fsync(m_fd) == 0;
#else
        return true; // SQLite's own sync at the end of the copy stands
#endif
    }

private:
    int m_fd = -1;
    qint64 m_started = 0;
};

// The pages of a file in rollback-journal mode, read while the caller's read transaction keeps every
// writer off the file.
QString copyFilePages(const QString &source, const QString &copy, qint64 pages, qint64 pageSize, Progress &progress)
{
    QFile in(source);
    QFile out(copy);
    if (!in.open(QIODevice::ReadOnly))
        return in.errorString();
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return out.errorString();
    DiskWriter disk(copy);
    const qint64 size = pages * pageSize;
    QByteArray buffer(kBytesPerRead, Qt::Uninitialized);
    progress.report(0, pages);
    for (qint64 done = 0; done < size;) {
        const qint64 n = in.read(buffer.data(), std::min(kBytesPerRead, size - done));
        if (n <= 0)
            return in.errorString().isEmpty() ? QStringLiteral("the file ended before its last page") : in.errorString();
        if (out.write(buffer.constData(), n) != n)
            return out.errorString();
        done += n;
        disk.grown(done);
        // The last page counts once the copy is on the disk.
        progress.report(std::min(done / pageSize, pages - 1), pages);
    }
    out.close();
    if (out.error() != QFileDevice::NoError)
        return out.errorString();
    if (!disk.finish())
        return QStringLiteral("cannot write %1 to the disk").arg(copy);
    progress.report(pages, pages);
    return QString();
}

// Every page through SQLite's backup, in steps of the source's read transaction.
QString copyThroughBackup(sqlite3 *from, const QString &copy, qint64 pages, qint64 pageSize, Progress &progress)
{
    SqliteHandle to;
    int rc = sqlite3_open_v2(QFile::encodeName(copy).constData(), &to.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc != SQLITE_OK)
        return sqliteMessage(to.db, rc);
    // A journal of a copy that becomes the backup only when complete would protect nothing; the end of
    // the copy is synced (below).
    QString problem = run(to.db, "PRAGMA journal_mode=OFF");
    if (problem.isEmpty())
        problem = run(to.db, "PRAGMA synchronous=NORMAL");
    if (!problem.isEmpty())
        return problem;
    sqlite3_backup *backup = sqlite3_backup_init(to.db, "main", from, "main");
    if (!backup)
        return sqliteMessage(to.db, sqlite3_errcode(to.db));
    // Steps of a two-hundredth of the file, 16 MB at most: the bar moves smoothly, and a window takes
    // its events several times a second.
    const int step = int(std::clamp<qint64>(pages / 200, 1, 4096));
    DiskWriter disk(copy);
    progress.report(0, pages);
    for (;;) {
        rc = sqlite3_backup_step(backup, step);
        if (rc != SQLITE_OK)
            break;
        const qint64 copied = sqlite3_backup_pagecount(backup) - sqlite3_backup_remaining(backup);
        disk.grown(copied * pageSize);
        progress.report(std::min(copied, qint64(sqlite3_backup_pagecount(backup)) - 1), sqlite3_backup_pagecount(backup));
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return sqliteMessage(nullptr, rc);
    // The copy is one self-contained file, whatever journal mode the source uses.
    problem = run(to.db, "PRAGMA journal_mode=DELETE");
    if (problem.isEmpty() && !disk.finish())
        problem = QStringLiteral("cannot write %1 to the disk").arg(copy);
    if (problem.isEmpty())
        progress.report(pages, pages);
    return problem;
}

} // namespace

QString CopySqliteFile(const QString &source, const QString &copy, Progress &progress)
{
    SqliteHandle from;
    // Read-write without create: the source is only read, but a hot journal left by a register that died
    // while writing is rolled back first, and a WAL file is read only by a connection that may open the
    // shared-memory index.
    int rc = sqlite3_open_v2(QFile::encodeName(source).constData(), &from.db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_busy_timeout(from.db, 10000);
    if (rc != SQLITE_OK)
        return sqliteMessage(from.db, rc);
    // One read transaction over the whole copy: it holds one state of the database from the first page to
    // the last, and a write between two steps never starts the copy over.
    QString problem = run(from.db, "BEGIN");
    const qint64 pages = pragma(from.db, "PRAGMA page_count", problem).toLongLong();
    const qint64 pageSize = pragma(from.db, "PRAGMA page_size", problem).toLongLong();
    [[maybe_unused]] const QString journal = pragma(from.db, "PRAGMA journal_mode", problem);
    if (!problem.isEmpty())
        return problem;
    if (pageSize < 512)
        return QStringLiteral("page size %1").arg(pageSize);
#ifdef Q_OS_UNIX
    // In rollback-journal mode the pages are all in the file, and the read lock keeps them as they are.
    // (Elsewhere a reader may not read the bytes that SQLite's locks cover: the backup reads them.)
    if (journal.compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0)
        problem = copyFilePages(source, copy, pages, pageSize, progress);
    else
#endif
        problem = copyThroughBackup(from.db, copy, pages, pageSize, progress);
    run(from.db, "COMMIT");
    return problem;
}

void FlushToDisk(const QString &path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path); // SQLite's own sync at the end of the copy stands
#endif
}
