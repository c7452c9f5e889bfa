#pragma once

#include "settings/SettingsDialog.h"

// ﾛｰｶﾙ設定: the workstation's options in INFO.MDB (printers, receipt, report paper and margins, backup
// folder, cashier and switches). Margins are shown in centimetres and stored in twips.
class fdlSetIniCtrl : public SettingsDialog
{
    Q_OBJECT

public:
    explicit fdlSetIniCtrl(QWidget *parent = nullptr);

    // Fills both printer lists with the installed printers.
    void SetCmb();

protected:
    void beforeLoad() override { SetCmb(); }
};
