// vantle-admin: the operator's tool beside the register. It creates program folders and their databases,
// prints the DDL for a shared server, prints lunisolar dates and sends the producers' sales notices.
#include "Commands.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void usage()
{
    std::fputs("使い方:\n"
               "  vantle-admin init DIR [--demo]   プログラムフォルダとデータベースを作成します\n"
               "  vantle-admin schema --mysql      MariaDB/MySQL 用のテーブル定義を出力します\n"
               "  vantle-admin oldcal FROM [TO] [--text]   旧暦を出力します (日付は YYYY-MM-DD)\n"
               "  vantle-admin notify [--dry-run] [--password-file FILE] [--ca-file FILE]\n"
               "                                   生産者への売上通知のうち送信時刻を過ぎたものを送ります\n",
               stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        usage();
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == u"init")
        return runInit(args);
    if (command == u"schema")
        return runSchema(args);
    if (command == u"oldcal")
        return runOldCal(args);
    if (command == u"notify")
        return runNotify(args);
    usage();
    return 2;
}
