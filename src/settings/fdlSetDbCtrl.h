#pragma once

#include "settings/SettingsDialog.h"

// 連番設定: the last sale number issued (NEW_REG_ID of the transaction database). 最大値取得 proposes the
// largest sale number on record; 登録 stores what the box shows.
class fdlSetDbCtrl : public SettingsDialog
{
    Q_OBJECT

public:
    explicit fdlSetDbCtrl(QWidget *parent = nullptr);

protected:
    void extraButton(int index) override;
};
