#pragma once

#include "settings/SettingsDialog.h"

// 接続設定: how the transaction and the master database are reached, kept in INFO.MDB and used from the
// next start on. Shown as stored (file names are not resolved). Each database also has a server field, so
// a MariaDB server is reached with or without an ODBC data source name.
class fdlSetConCtrl : public SettingsDialog
{
    Q_OBJECT

public:
    explicit fdlSetConCtrl(QWidget *parent = nullptr);
};
