#include "Commands.h"

#include "data/ProgramFolder.h"
#include "data/Schema.h"

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
