#include "settings/fdlPrdTaxList.h"

#include "base/Common.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsMst.h"
#include "tax/ProductRates.h"
#include "tax/SaleTax.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidgetItem *cell(const QString &text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

fdlPrdTaxList::fdlPrdTaxList(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("商品別税率"));
    setModal(true);
    m_shopRate = new QLabel(this);
    m_grid = new QTableWidget(0, 4, this);
    m_grid->setHorizontalHeaderLabels({QStringLiteral("商品ｺｰﾄﾞ"), QStringLiteral("商品名"), QStringLiteral("税率"), QStringLiteral("個別")});
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_grid->setMinimumSize(520, 360);
    auto *close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("Command1_0"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("個別の税率は vantle-admin rates import で CSV から取り込みます。"), this));
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *main = new QVBoxLayout(this);
    main->addWidget(m_shopRate);
    main->addWidget(m_grid);
    main->addLayout(buttons);
    try {
        LoadData();
    } catch (const std::exception &e) {
        const auto *db = dynamic_cast<const DbError *>(&e);
        MsgBoxEx(db ? db->description() : QString::fromStdString(e.what()), Msg::Exclamation);
    }
    m_grid->setFocus();
}

void fdlPrdTaxList::LoadData()
{
    if (!gMst)
        throw DbError(QStringLiteral("データベースに接続されていません。"));
    m_shopRate->setText(QStringLiteral("店の消費税率: %1 (管理情報)　※は軽減税率").arg(SaleTax::PercentText(ProductRates::ShopRate(*gMst))));
    const QList<ProductRates::Row> rows = ProductRates::List(*gMst);
    m_grid->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const ProductRates::Row &r = rows[i];
        const QString mark = SaleTax::IsReduced(r.rate) ? QStringLiteral("※") : QString();
        m_grid->setItem(i, 0, cell(QString::number(r.prdId), Qt::AlignRight));
        m_grid->setItem(i, 1, cell(r.name));
        m_grid->setItem(i, 2, cell(SaleTax::PercentText(r.rate) + mark, Qt::AlignRight));
        m_grid->setItem(i, 3, cell(r.own ? QStringLiteral("○") : QString(), Qt::AlignCenter));
    }
    m_grid->resizeColumnToContents(0);
}
