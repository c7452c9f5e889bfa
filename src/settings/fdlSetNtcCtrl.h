#pragma once

#include "settings/SettingsDialog.h"

// 売上通知設定: when the producers are told their sales of the day (the send times) and through which mail
// server. The server's password is not kept here: it stays in a file on the sending machine.
class fdlSetNtcCtrl : public SettingsDialog
{
    Q_OBJECT

public:
    explicit fdlSetNtcCtrl(QWidget *parent = nullptr);

    // The times must read as times (they are stored in their plain form "10:00,12:00"), the sender as one
    // address and the port as a port; anything else is shown and nothing is stored.
    bool ChkData() override;
};
