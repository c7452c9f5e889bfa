#include "settings/fdlSetBankCtrl.h"

#include "base/Common.h"
#include "data/clsData.h"
#include "payment/BankMaster.h"
#include "payment/ShopAccount.h"
#include "payment/ZenginKana.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace {

bool digitsOrEmpty(const QString &text, int min, int max)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]*$"));
    return text.isEmpty() || (text.size() >= min && text.size() <= max && digits.match(text).hasMatch());
}

} // namespace

fdlSetBankCtrl::fdlSetBankCtrl(QWidget *parent)
    : SettingsDialog(parent, QStringLiteral("振込依頼人情報"), Store::Mst)
{
    auto *grid = new QGridLayout;
    addRow(grid, QStringLiteral("委託者コード"), addText(ShopAccount::ClientCodeKey, Input::Numeric, 10));
    addRow(grid, QStringLiteral("依頼人名（カナ）"), addText(ShopAccount::ClientNameKey, Input::Japanese, 40));
    lblBankName = new QLabel(this);
    lblBranchName = new QLabel(this);
    addRow(grid, QStringLiteral("金融機関コード"), addText(ShopAccount::BankCodeKey, Input::Numeric, 4));
    grid->addWidget(lblBankName, grid->rowCount() - 1, 2);
    addRow(grid, QStringLiteral("支店コード"), addText(ShopAccount::BranchCodeKey, Input::Numeric, 3));
    grid->addWidget(lblBranchName, grid->rowCount() - 1, 2);
    addRow(grid, QStringLiteral("預金種目"),
           addList(ShopAccount::AccountKindKey, {QString(), QStringLiteral("普通"), QStringLiteral("当座"), QStringLiteral("その他")}));
    addRow(grid, QStringLiteral("口座番号"), addText(ShopAccount::AccountNoKey, Input::Numeric, 7));
    addRow(grid, QStringLiteral("改行コード"),
           addList(ShopAccount::LineEndKey, {QStringLiteral("CR LF を付ける"), QStringLiteral("付けない")}));
    grid->setColumnStretch(2, 1);
    grid->setColumnMinimumWidth(2, 200);
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addWidget(label(QStringLiteral("振込データ（全銀形式）の依頼人です。銀行から指定された値を入力して下さい。")));
    main->addLayout(buttonRow());

    for (const QString &key : {ShopAccount::BankCodeKey, ShopAccount::BranchCodeKey})
        connect(text(key), &QLineEdit::editingFinished, this, &fdlSetBankCtrl::ShowNames);
    formLoad();
}

void fdlSetBankCtrl::ShowNames()
{
    clsData *mst = data();
    const QString bank = text(ShopAccount::BankCodeKey)->text().trimmed();
    const QString branch = text(ShopAccount::BranchCodeKey)->text().trimmed();
    lblBankName->clear();
    lblBranchName->clear();
    try {
        if (!mst || !BankMaster::IsImported(*mst)) {
            lblBankName->setText(QStringLiteral("（銀行マスタ未取込）"));
            return;
        }
        if (bank.isEmpty())
            return;
        const auto b = BankMaster::Bank(*mst, bank);
        lblBankName->setText(b ? b->name + QStringLiteral("（") + b->kana + QStringLiteral("）") : QStringLiteral("銀行マスタにありません"));
        if (!b || branch.isEmpty())
            return;
        const auto r = BankMaster::Branch(*mst, bank, branch);
        lblBranchName->setText(r ? r->name + QStringLiteral("（") + r->kana + QStringLiteral("）") : QStringLiteral("銀行マスタにありません"));
    } catch (const std::exception &e) {
        lblBankName->setText(QString::fromStdString(e.what()));
    }
}

bool fdlSetBankCtrl::ChkData()
{
    QStringList wrong;
    if (!digitsOrEmpty(text(ShopAccount::ClientCodeKey)->text().trimmed(), 1, 10))
        wrong << QStringLiteral("委託者コードは10桁以内の数字");
    QChar failed;
    if (!ZenginKana::convert(text(ShopAccount::ClientNameKey)->text(), &failed))
        wrong << QStringLiteral("依頼人名はカナ（「%1」は使えません）").arg(QString(failed));
    if (!digitsOrEmpty(text(ShopAccount::BankCodeKey)->text().trimmed(), 4, 4))
        wrong << QStringLiteral("金融機関コードは4桁の数字");
    if (!digitsOrEmpty(text(ShopAccount::BranchCodeKey)->text().trimmed(), 3, 3))
        wrong << QStringLiteral("支店コードは3桁の数字");
    if (!digitsOrEmpty(text(ShopAccount::AccountNoKey)->text().trimmed(), 1, 7))
        wrong << QStringLiteral("口座番号は7桁以内の数字");
    if (wrong.isEmpty())
        return true;
    MsgBoxEx(wrong.join(QStringLiteral("、")) + QStringLiteral("で入力して下さい。"), Msg::Exclamation);
    return false;
}
