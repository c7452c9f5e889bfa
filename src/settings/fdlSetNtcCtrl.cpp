#include "settings/fdlSetNtcCtrl.h"

#include "base/Common.h"
#include "notice/MailAddress.h"
#include "notice/NoticeSettings.h"
#include "notice/NoticeTimes.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

fdlSetNtcCtrl::fdlSetNtcCtrl(QWidget *parent)
    : SettingsDialog(parent, QStringLiteral("売上通知設定"), Store::Mst)
{
    using S = NoticeSettings;
    auto *times = new QGroupBox(QStringLiteral("送信時刻"), this);
    auto *timesGrid = new QGridLayout(times);
    addRow(timesGrid, QStringLiteral("送信時刻"), addText(S::TimesKey, Input::Latin, 100));
    auto *hint = label(QStringLiteral("例: 10:00,12:00,14:00,16:00（空欄のときは送信しません）"));
    timesGrid->addWidget(hint, timesGrid->rowCount(), 1);
    timesGrid->setColumnStretch(1, 1);

    auto *server = new QGroupBox(QStringLiteral("メールサーバー"), this);
    auto *grid = new QGridLayout(server);
    addRow(grid, QStringLiteral("SMTPサーバー"), addText(S::ServerKey, Input::Latin, 100));
    addRow(grid, QStringLiteral("ポート"), addText(S::PortKey, Input::Numeric, 5));
    addRow(grid, QStringLiteral("暗号化"), addList(S::SecurityKey, {QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS")}));
    addRow(grid, QStringLiteral("送信元アドレス"), addText(S::FromKey, Input::Latin, 254));
    addRow(grid, QStringLiteral("ユーザー名"), addText(S::UserKey, Input::Latin, 100));
    auto *password = label(QStringLiteral("パスワードは送信するコンピューターのファイル smtp-password に置きます。"));
    password->setWordWrap(true);
    grid->addWidget(password, grid->rowCount(), 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto *main = new QVBoxLayout(this);
    main->addWidget(times);
    main->addWidget(server);
    main->addLayout(buttonRow());

    formLoad();
}

bool fdlSetNtcCtrl::ChkData()
{
    QLineEdit *times = text(NoticeSettings::TimesKey);
    const auto parsed = NoticeTimes::parse(times->text());
    if (!parsed) {
        MsgBoxEx(QStringLiteral("送信時刻は 10:00,12:00 のように入力してください。"), Msg::Exclamation);
        times->setFocus();
        return false;
    }
    times->setText(parsed->text());
    const QString from = text(NoticeSettings::FromKey)->text().trimmed();
    if (!from.isEmpty() && !MailAddress::isValid(from)) {
        MsgBoxEx(QStringLiteral("送信元アドレスが正しくありません。"), Msg::Exclamation);
        text(NoticeSettings::FromKey)->setFocus();
        return false;
    }
    const QString port = text(NoticeSettings::PortKey)->text().trimmed();
    bool number = false;
    const int value = port.toInt(&number);
    if (!port.isEmpty() && (!number || value < 1 || value > 65535)) {
        MsgBoxEx(QStringLiteral("ポート番号は 1 から 65535 までです。"), Msg::Exclamation);
        text(NoticeSettings::PortKey)->setFocus();
        return false;
    }
    return true;
}
