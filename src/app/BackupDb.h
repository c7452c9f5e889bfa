#pragma once

#include "base/Progress.h"

#include <QString>

// Copies the transaction database (a file database only) into the backup folder BACK_PATH as
// "yyyymmdd.mdb" of today; a later backup of the same day replaces it. After a copy only the most recent daily
// copies are kept (BackupKeepCount). Reports nothing on screen: the log keeps a "BACK_PATH:" line of every
// attempt, the reason of a failed copy and every copy removed; a backup that cannot be made never stops the
// program. The copy tells `progress` how many of the file's pages it has copied.
void BackupDb(Progress &progress = Progress::none());

// How many daily copies the backup folder keeps: the local setting BACK_KEEP_CNT, 31 when it is not set;
// 0 (or any value that does not read as a positive number) keeps them all.
inline const QString kBackupKeepKey = QStringLiteral("BACK_KEEP_CNT");
inline constexpr int kBackupKeepDefault = 31;
int BackupKeepCount();

// The caption of the window shown while the backup copies.
inline const QString kBackupCaption = QStringLiteral("バックアップ中");

// Removes the daily copies of the folder (files named "yyyymmdd.mdb" of a real date) beyond the `keep` most
// recent by their date; `newest`, the copy just made, is always one of those kept. No other file is touched.
// Returns the files removed.
QStringList PruneBackups(const QString &folder, int keep, const QString &newest);

// The copy itself: a consistent copy of the SQLite file `source` (see CopySqliteFile: one state of the
// database, what a hot journal or a WAL file holds included, on the disk when done, the pages copied told
// to `progress`) written to `target`. The copy goes to a temporary file first and replaces `target` only
// when complete, so a failed copy leaves an earlier backup of the day as it was.
// Returns "" when done, else what went wrong.
QString BackupSqliteFile(const QString &source, const QString &target, Progress &progress = Progress::none());

// The backup file of a day in a folder given with or without a final separator ("/" or "\").
QString BackupTarget(const QString &folder, double day);
