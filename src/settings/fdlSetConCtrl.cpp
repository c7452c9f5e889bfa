#include "settings/fdlSetConCtrl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

fdlSetConCtrl::fdlSetConCtrl(QWidget *parent)
    : SettingsDialog(parent, QStringLiteral("接続設定"), Store::Ini)
{
    // The kinds are the positions of the list: "1" a server database, "2" a database file.
    const QStringList kinds{QString(), QStringLiteral("MYSQL"), QStringLiteral("MDB")};
    auto *columns = new QHBoxLayout;
    const struct { const char *title; const char *prefix; } groups[] = {
        {"ﾃﾞｰﾀﾍﾞｰｽ情報", "DB_"}, {"ﾏｽﾀDB情報", "MST_"}};
    for (const auto &g : groups) {
        const QString prefix = QString::fromLatin1(g.prefix);
        auto *box = new QGroupBox(QString::fromUtf8(g.title), this);
        auto *grid = new QGridLayout(box);
        addRow(grid, QStringLiteral("種類"), addList(prefix + QStringLiteral("TYPE"), kinds));
        addRow(grid, QStringLiteral("ﾃﾞｰﾀｿｰｽ名"), addText(prefix + QStringLiteral("DSN"), Input::Latin));
        addRow(grid, QStringLiteral("ｻｰﾊﾞｰ"), addText(prefix + QStringLiteral("SERVER"), Input::Latin));
        addRow(grid, QStringLiteral("名前"), addText(prefix + QStringLiteral("NAME"), Input::Latin));
        addRow(grid, QStringLiteral("ﾕｰｻﾞｰ"), addText(prefix + QStringLiteral("USER"), Input::Latin));
        addRow(grid, QStringLiteral("ﾊﾟｽﾜｰﾄﾞ"), addText(prefix + QStringLiteral("PSWD"), Input::Password));
        addRow(grid, QStringLiteral("MDBﾊﾟｽﾜｰﾄﾞ"), addText(prefix + QStringLiteral("DBPW"), Input::Password));
        grid->setColumnStretch(1, 1);
        columns->addWidget(box);
    }
    auto *main = new QVBoxLayout(this);
    main->addLayout(columns);
    main->addLayout(buttonRow());

    formLoad();
}
