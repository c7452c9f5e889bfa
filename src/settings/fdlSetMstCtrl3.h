#pragma once

#include "settings/SettingsDialog.h"

// 支払情報: how producers are paid: the closing kind (daily, weekly, monthly), the days to payment after a
// daily closing, two weekly and three monthly closing rules, and the shop's paying bank account.
class fdlSetMstCtrl3 : public SettingsDialog
{
    Q_OBJECT

public:
    explicit fdlSetMstCtrl3(QWidget *parent = nullptr);
};
