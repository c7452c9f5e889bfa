#pragma once

#include "settings/SettingsDialog.h"

// 管理情報: the shop's name and invoice registration number, tax and commission rates (shown in percent,
// stored as fractions), the receipt's advertising lines and what the receipt prints besides the sale. The commission rate shows the
// rate in force when none is stored, and an empty one is not saved.
class fdlSetMstCtrl2 : public SettingsDialog
{
    Q_OBJECT

public:
    explicit fdlSetMstCtrl2(QWidget *parent = nullptr);

    bool ChkData() override;

protected:
    void afterLoad() override;
};
