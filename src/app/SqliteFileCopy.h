#pragma once

#include <QString>

class Progress;

// A consistent copy of a live SQLite file (another register may be writing it) into a new file, page by
// page, telling `progress` the pages copied of all pages as it goes. The copy is written to the disk as it
// goes and is there when this returns. Returns "" when done, else the reason; a failed copy leaves a
// partial file that the caller throws away.
//
// The copy reads under one read transaction of the source from the first page to the last, so it holds one
// state of the database even while another register writes (that register waits, as for any reader). A
// file in rollback-journal mode, the register's own, is then exactly the pages of its file: they are copied
// a megabyte at a time. A file in WAL mode has part of its pages in the WAL: it is copied through SQLite's
// backup, which reads every page through the engine (as every file does where a reader may not read the
// bytes that SQLite's locks cover, on Windows).
QString CopySqliteFile(const QString &source, const QString &copy, Progress &progress);

// Writes what the system still holds of a file, or the names of a folder, to the disk.
void FlushToDisk(const QString &path);
