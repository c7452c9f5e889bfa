#include "settings/FmrBankBoxes.h"

#include "data/clsData.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

FmrBankBoxes::FmrBankBoxes(QWidget *parent) : QWidget(parent)
{
    const int digit = QFontMetrics(font()).horizontalAdvance(u'0');
    txtBANK_CD = new QLineEdit(this);
    txtBR_CD = new QLineEdit(this);
    for (auto [box, length] : {std::pair{txtBANK_CD, 4}, std::pair{txtBR_CD, 3}}) {
        box->setMaxLength(length);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->setFixedWidth(digit * 6 + 14);
        connect(box, &QLineEdit::editingFinished, this, &FmrBankBoxes::showNames);
    }
    lblNames = new QLabel(this);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(txtBANK_CD);
    row->addWidget(new QLabel(QStringLiteral("支店ｺｰﾄﾞ"), this));
    row->addWidget(txtBR_CD);
    row->addWidget(lblNames, 1);
    setTabOrder(txtBANK_CD, txtBR_CD);
}

void FmrBankBoxes::setEditable(bool editable)
{
    for (QLineEdit *box : {txtBANK_CD, txtBR_CD}) {
        box->setReadOnly(!editable);
        box->setEnabled(editable);
    }
}

void FmrBankBoxes::clear()
{
    txtBANK_CD->clear();
    txtBR_CD->clear();
    lblNames->clear();
}

void FmrBankBoxes::load(clsData &mst, qint32 fmrId)
{
    m_mst = &mst;
    const BankMaster::Codes codes = BankMaster::ProducerCodes(mst, fmrId);
    txtBANK_CD->setText(codes.bank);
    txtBR_CD->setText(codes.branch);
    showNames();
}

BankMaster::Codes FmrBankBoxes::codes() const
{
    return {txtBANK_CD->text().trimmed(), txtBR_CD->text().trimmed()};
}

void FmrBankBoxes::showNames()
{
    lblNames->clear();
    const BankMaster::Codes c = codes();
    if (!m_mst || c.isEmpty())
        return;
    try {
        if (!BankMaster::IsImported(*m_mst)) {
            lblNames->setText(QStringLiteral("（銀行マスタ未取込）"));
            return;
        }
        const auto bank = BankMaster::Bank(*m_mst, c.bank);
        const auto branch = bank ? BankMaster::Branch(*m_mst, c.bank, c.branch) : std::nullopt;
        lblNames->setText(!bank     ? QStringLiteral("金融機関コードが銀行マスタにありません")
                          : !branch ? bank->name + QStringLiteral("　支店コードが銀行マスタにありません")
                                    : bank->name + QStringLiteral("　") + branch->name);
    } catch (const std::exception &e) {
        lblNames->setText(QString::fromStdString(e.what()));
    }
}
