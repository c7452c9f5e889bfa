#pragma once

#include "settings/SettingsDialog.h"

class QLabel;

// 振込依頼人情報: the shop's account for the banks' transfer file: the client code its bank gave it, its name
// in kana, bank and branch codes (their names from the bank master are shown beside them), the account kind
// and number, and whether the file's records end with CR LF. Malformed codes are refused before saving.
class fdlSetBankCtrl : public SettingsDialog
{
    Q_OBJECT

public:
    explicit fdlSetBankCtrl(QWidget *parent = nullptr);

    bool ChkData() override;
    // Shows the names of the bank and branch codes in the boxes.
    void ShowNames();

    QLabel *lblBankName;
    QLabel *lblBranchName;

protected:
    void afterLoad() override { ShowNames(); }
};
