#pragma once

#include "data/Schema.h"

#include <QString>
#include <QStringList>

class Connection;
class Progress;

// Brings a database made by an earlier version up to the indexes this one uses: the indexes it lacks are
// created, those a later version replaced are dropped. Tables and their columns are never touched, and a
// table the database does not have is left to whoever creates it. Building an index over years of rows
// takes seconds; it is done once, and the next run finds nothing to do.
namespace SchemaUpgrade {

// The statements that bring a database with these tables and indexes (names compared without case) up to
// date, in the order to run them: the new indexes first, so that every query keeps an index, then the drops.
QStringList statements(Schema::Store store, Schema::Engine engine, const QStringList &tables,
                       const QStringList &indexes);

// An SQLite file, through a connection of its own; `progress` counts the statements done of all and is
// told again while a long one runs. Returns "" when the file is up to date, else why it is not; what ran
// before a failure stays. The statements that ran are added to `ran`.
QString upgradeFile(const QString &path, Schema::Store store, Progress &progress, QStringList *ran = nullptr);
// A database through its connection (a server: no reports while a statement runs). Returns the number of
// statements run; a failure throws DbError.
int upgrade(Connection &cnn, Schema::Store store, Progress &progress);

} // namespace SchemaUpgrade
