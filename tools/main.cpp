// vantle-admin: the operator's tool beside the register. It creates program folders and their databases,
// prints the DDL for a shared server, prints lunisolar dates, makes the bank's transfer file and the
// producers' payment statements of a payment closing, sends the producers' sales notices, imports the
// products' tax rates and prints a day's tax per rate.
#include "Commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

namespace {

void usage()
{
    std::fputs("使い方:\n"
               "  vantle-admin init DIR [--demo]   プログラムフォルダとデータベースを作成します\n"
               "  vantle-admin schema --mysql      MariaDB/MySQL 用のテーブル定義を出力します\n"
               "  vantle-admin upgrade             既存のデータベースにこの版の索引を作成します\n"
               "  vantle-admin oldcal FROM [TO] [--text]   旧暦を出力します (日付は YYYY-MM-DD)\n"
               "  vantle-admin banks import [DIR]   zengin-code パッケージから銀行マスタを取り込みます\n"
               "  vantle-admin zengin CLS_DATE [-o FILE]   支払締の振込データ (全銀形式) を作成します\n"
               "  vantle-admin statement CLS_DATE [FMR_ID] [-o FILE]   支払明細書を PDF に出力します\n"
               "  vantle-admin notify [--dry-run] [--password-file FILE] [--ca-file FILE]\n"
               "                                   生産者への売上通知のうち送信時刻を過ぎたものを送ります\n"
               "  vantle-admin rates import FILE   商品別の消費税率を CSV (商品コード,税率%) から取り込みます\n"
               "  vantle-admin tax SALES_DATE      売上日の税率ごとの売上と消費税を出力します\n",
               stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    // The statements are drawn with fonts, which need the GUI application (offscreen without a display).
    const bool drawing = argc > 1 && QByteArray(argv[1]) == "statement";
    if (drawing && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app = drawing ? std::make_unique<QGuiApplication>(argc, argv)
                                                    : std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty()) {
        usage();
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == u"init")
        return runInit(args);
    if (command == u"schema")
        return runSchema(args);
    if (command == u"upgrade")
        return runUpgrade(args);
    if (command == u"oldcal")
        return runOldCal(args);
    if (command == u"banks")
        return runBanks(args);
    if (command == u"zengin")
        return runZengin(args);
    if (command == u"statement")
        return runStatement(args);
    if (command == u"notify")
        return runNotify(args);
    if (command == u"rates")
        return runRates(args);
    if (command == u"tax")
        return runTax(args);
    usage();
    return 2;
}
