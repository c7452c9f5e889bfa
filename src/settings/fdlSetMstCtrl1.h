#pragma once

#include "settings/SettingsDialog.h"

class QLabel;

// つり銭設定: the change fund, as the number of pieces of each denomination (DEF_01 for 10000 yen to
// DEF_10 for 1 yen), with its total in yen.
class fdlSetMstCtrl1 : public SettingsDialog
{
    Q_OBJECT

public:
    explicit fdlSetMstCtrl1(QWidget *parent = nullptr);

    // Recomputes the total shown in lblDEF_SUM.
    void CalcDef();
    QLabel *lblDEF_SUM() const { return m_sum; }

protected:
    void afterLoad() override { CalcDef(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_sum = nullptr;
};
