#include "Commands.h"
#include "ToolProgram.h"

#include "base/TerminalProgress.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/Schema.h"
#include "data/SchemaUpgrade.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

#include <QTextStream>
#include <cstdio>

int runInit(const QStringList &args)
{
    QStringList rest = args;
    const bool demo = rest.removeAll(QStringLiteral("--demo")) > 0;
    if (rest.size() != 1 || rest.first().startsWith(u'-')) {
        std::fputs("使い方: vantle-admin init DIR [--demo]\n", stderr);
        return 2;
    }
    const QString problem = ProgramFolder::create(rest.first(), demo);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", problem.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}

int runSchema(const QStringList &args)
{
    if (args != QStringList{QStringLiteral("--mysql")}) {
        std::fputs("使い方: vantle-admin schema --mysql\n", stderr);
        return 2;
    }
    QTextStream out(stdout);
    out << "-- トランザクションデータベース\n";
    for (const QString &ddl : Schema::createStatements(Schema::Store::Transaction, Schema::Engine::MariaDb))
        out << ddl << ";\n";
    out << "\n-- マスタデータベース\n";
    for (const QString &ddl : Schema::createStatements(Schema::Store::Master, Schema::Engine::MariaDb))
        out << ddl << ";\n";
    return 0;
}

int runUpgrade(const QStringList &args)
{
    if (!args.isEmpty()) {
        std::fputs("使い方: vantle-admin upgrade\n", stderr);
        return 2;
    }
    ToolProgram program("upgrade");
    if (!program.open())
        return 1;
    // A file is upgraded as the register does it at its start; a server through the connection.
    const struct { clsData *data; QString type, file; Schema::Store store; const char *name; } databases[] = {
        {gDb.get(), gIni->DB_TYPE(), gIni->DB_NAME(), Schema::Store::Transaction, "トランザクションデータベース"},
        {gMst.get(), gIni->MST_TYPE(), gIni->MST_NAME(), Schema::Store::Master, "マスタデータベース"},
    };
    QTextStream out(stdout);
    for (const auto &db : databases) {
        const QString name = QString::fromUtf8(db.name);
        qsizetype ran = 0;
        QString problem;
        {
            TerminalProgress progress(name + QStringLiteral(" を更新中"));
            if (db.type == u"2") {
                QStringList statements;
                problem = SchemaUpgrade::upgradeFile(db.file, db.store, progress, &statements);
                ran = statements.size();
            } else {
                try {
                    ran = SchemaUpgrade::upgrade(*db.data->connection(), db.store, progress);
                } catch (const DbError &e) {
                    problem = e.description();
                }
            }
        }
        if (!problem.isEmpty()) {
            program.complain(name + QStringLiteral(": ") + problem);
            return 1;
        }
        out << name << (ran == 0 ? QStringLiteral(": 更新はありません。\n") : QStringLiteral(": 索引を %1 件更新しました。\n").arg(ran));
        out.flush();
    }
    return 0;
}
