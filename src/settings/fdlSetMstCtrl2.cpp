#include "settings/fdlSetMstCtrl2.h"

#include "base/Common.h"
#include "settings/SettingValues.h"
#include "tax/RegistrationNumber.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

fdlSetMstCtrl2::fdlSetMstCtrl2(QWidget *parent)
    : SettingsDialog(parent, QStringLiteral("管理情報"), Store::Mst)
{
    const QStringList printing{QStringLiteral("印刷しない"), QStringLiteral("印刷する")};
    auto *box = new QGroupBox(QStringLiteral("管理情報"), this);
    auto *grid = new QGridLayout(box);
    addRow(grid, QStringLiteral("名称"), addText(QStringLiteral("COM_NM"), Input::Japanese, 50));
    addRow(grid, QStringLiteral("略称"), addText(QStringLiteral("COM_OMT"), Input::Japanese, 50));
    addRow(grid, QStringLiteral("登録番号"), addText(QString::fromLatin1(RegistrationNumber::Key), Input::Latin, 20));
    addRow(grid, QStringLiteral("消費税率"),
           addText(QStringLiteral("TAX_RT"), Input::Numeric, 4, Conversion::Rate), QStringLiteral("%"));
    addRow(grid, QStringLiteral("手数料率"),
           addText(QStringLiteral("FEE_RT"), Input::Numeric, 4, Conversion::Rate), QStringLiteral("%"));
    for (int i = 1; i <= 3; ++i)
        addRow(grid, QStringLiteral("ﾚｼｰﾄ宣伝%1").arg(i),
               addText(QStringLiteral("RCPT_MSG%1").arg(i), Input::Japanese, 50));
    addRow(grid, QStringLiteral("旧暦日付印刷"), addList(QStringLiteral("PRINT_OLD_DATE"), printing));
    addRow(grid, QStringLiteral("花言葉印刷"), addList(QStringLiteral("PRINT_FWD"), printing));
    grid->setColumnStretch(1, 1);

    auto *main = new QVBoxLayout(this);
    main->addWidget(box);
    main->addLayout(buttonRow());

    formLoad();
}

void fdlSetMstCtrl2::afterLoad()
{
    // Nothing stored charges the standard rate: the box shows it instead of staying empty.
    clsData *master = data();
    if (!master || !SettingValues::CtrlText(*master, QStringLiteral("FEE_RT")).trimmed().isEmpty())
        return;
    const Currency inForce = SettingValues::CommissionRate(*master);
    text(QStringLiteral("FEE_RT"))->setText(SettingValues::RateForDisplay(inForce.toPlainText()));
}

bool fdlSetMstCtrl2::ChkData()
{
    // Stored empty, the rate would be Null, which charges the standard rate unseen; a text that is no
    // number would be read as 0 and charge nothing.
    const struct
    {
        const char *key;
        const char *name;
        bool required;
    } rates[] = {{"TAX_RT", "消費税率", false}, {"FEE_RT", "手数料率", true}};
    for (const auto &rate : rates) {
        QLineEdit *box = text(QString::fromLatin1(rate.key));
        const QString typed = box->text().trimmed();
        QString message;
        if (typed.isEmpty() && rate.required)
            message = QStringLiteral("%1を入力して下さい。\r\n手数料を取らない場合は 0 と入力します。");
        else if (!typed.isEmpty() && !SettingValues::IsPercent(typed))
            message = QStringLiteral("%1は 0 から 100 までの数字で入力して下さい。");
        if (message.isEmpty())
            continue;
        MsgBoxEx(message.arg(QString::fromUtf8(rate.name)), Msg::Exclamation);
        box->setFocus();
        return false;
    }
    // The invoice number is stored plain ("T" and 13 digits) and only when its check digit is right: a
    // receipt with a wrong number is no invoice.
    QLineEdit *number = text(QString::fromLatin1(RegistrationNumber::Key));
    const QString plain = RegistrationNumber::Normalized(number->text());
    if (!plain.isEmpty() && !RegistrationNumber::IsValid(plain)) {
        MsgBoxEx(RegistrationNumber::Problem(plain), Msg::Exclamation);
        number->setFocus();
        return false;
    }
    number->setText(plain);
    return true;
}
