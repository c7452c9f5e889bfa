#pragma once

#include <QString>

// Copies the transaction database (a file database only) into the backup folder BACK_PATH as
// "yyyymmdd.mdb" of today; a later backup of the same day replaces it. Reports nothing: the log keeps
// a "BACK_PATH:" line of every attempt, and a backup that cannot be made never stops the program.
void BackupDb();

// The copy itself: a consistent copy of the SQLite file `source` (read through SQLite, so what a journal
// or WAL file still holds is included) written to `target`. The copy goes to a temporary file first and
// replaces `target` only when complete, so a failed copy leaves an earlier backup of the day as it was.
// Returns "" when done, else what went wrong.
QString BackupSqliteFile(const QString &source, const QString &target);

// The backup file of a day in a folder given with or without a final separator ("/" or "\").
QString BackupTarget(const QString &folder, double day);
