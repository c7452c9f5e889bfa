#include "settings/fdlSetDbCtrl.h"

#include "settings/SettingValues.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

fdlSetDbCtrl::fdlSetDbCtrl(QWidget *parent)
    : SettingsDialog(parent, QStringLiteral("連番設定"), Store::Db)
{
    auto *box = new QGroupBox(QStringLiteral("連番情報"), this);
    auto *grid = new QGridLayout(box);
    // Sale numbers are 32-bit: at most ten digits.
    addRow(grid, QStringLiteral("最終ﾚｼﾞ番号"), addText(QStringLiteral("NEW_REG_ID"), Input::Numeric, 10));
    grid->setColumnStretch(1, 1);
    auto *main = new QVBoxLayout(this);
    main->addWidget(box);
    main->addLayout(buttonRow({QStringLiteral("最大値取得")}));
    setMinimumWidth(sizeHint().width() * 5 / 4);

    formLoad();
}

void fdlSetDbCtrl::extraButton(int index)
{
    if (index != 2 || !data())
        return;
    text(QStringLiteral("NEW_REG_ID"))->setText(QString::number(SettingValues::LargestRegId(*data())));
}
