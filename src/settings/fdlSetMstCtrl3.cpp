#include "settings/fdlSetMstCtrl3.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QWidget *withUnit(QWidget *parent, QWidget *control, const QString &unit)
{
    auto *holder = new QWidget(parent);
    auto *row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(control);
    row->addWidget(new QLabel(unit, holder));
    row->addStretch(1);
    return holder;
}

} // namespace

fdlSetMstCtrl3::fdlSetMstCtrl3(QWidget *parent)
    : SettingsDialog(parent, QStringLiteral("支払情報"), Store::Mst)
{
    QStringList weekdays{QString()};
    for (const char *day : {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"})
        weekdays << QString::fromUtf8(day);

    auto *kind = new QGroupBox(QStringLiteral("締・支払情報"), this);
    auto *kindGrid = new QGridLayout(kind);
    addRow(kindGrid, QStringLiteral("締・支払方式"),
           addList(QStringLiteral("CLS_TYPE"),
                   {QString(), QStringLiteral("日締"), QStringLiteral("週締"), QStringLiteral("月締")}));
    addRow(kindGrid, QStringLiteral("日締支払迄日数"), addText(QStringLiteral("CLS_SITE_DAY"), Input::Numeric, 3),
           QStringLiteral("日"));
    kindGrid->setColumnStretch(1, 1);

    auto *weekly = new QGroupBox(QStringLiteral("週締"), this);
    auto *weekGrid = new QGridLayout(weekly);
    weekGrid->addWidget(label(QStringLiteral("締曜日")), 0, 1, Qt::AlignCenter);
    weekGrid->addWidget(label(QStringLiteral("サイト週")), 0, 2, Qt::AlignCenter);
    weekGrid->addWidget(label(QStringLiteral("支払曜日")), 0, 3, Qt::AlignCenter);
    const QStringList weekSites{QStringLiteral("当週"), QStringLiteral("翌週"), QStringLiteral("翌々週")};
    for (int i = 1; i <= 2; ++i) {
        weekGrid->addWidget(label(QStringLiteral("週締%1").arg(QChar(0xFF10 + i))), i, 0);
        weekGrid->addWidget(addList(QStringLiteral("CLS_W_%1").arg(i), weekdays), i, 1);
        weekGrid->addWidget(addList(QStringLiteral("CLS_W_SITE%1").arg(i), weekSites), i, 2);
        weekGrid->addWidget(addList(QStringLiteral("CLS_W_PAY%1").arg(i), weekdays), i, 3);
    }
    weekGrid->setColumnStretch(4, 1);

    auto *monthly = new QGroupBox(QStringLiteral("月締"), this);
    auto *monthGrid = new QGridLayout(monthly);
    monthGrid->addWidget(label(QStringLiteral("締日")), 0, 1, Qt::AlignCenter);
    monthGrid->addWidget(label(QStringLiteral("サイト月")), 0, 2, Qt::AlignCenter);
    monthGrid->addWidget(label(QStringLiteral("支払日")), 0, 3, Qt::AlignCenter);
    const QStringList monthSites{QStringLiteral("当月"), QStringLiteral("翌月"), QStringLiteral("翌々月")};
    const int dayWidth = text(QStringLiteral("CLS_SITE_DAY"))->width();
    for (int i = 1; i <= 3; ++i) {
        QLineEdit *closing = addText(QStringLiteral("CLS_M_%1").arg(i), Input::Numeric);
        closing->setFixedWidth(dayWidth);
        monthGrid->addWidget(label(QStringLiteral("月締%1").arg(QChar(0xFF10 + i))), i, 0);
        monthGrid->addWidget(withUnit(this, closing, QStringLiteral("日")), i, 1);
        monthGrid->addWidget(addList(QStringLiteral("CLS_M_SITE%1").arg(i), monthSites), i, 2);
        QLineEdit *paying = addText(QStringLiteral("CLS_M_PAY%1").arg(i), Input::Numeric);
        paying->setFixedWidth(dayWidth);
        monthGrid->addWidget(withUnit(this, paying, QStringLiteral("日")), i, 3);
    }
    monthGrid->setColumnStretch(4, 1);

    auto *account = new QGroupBox(QStringLiteral("支払口座情報"), this);
    auto *accountGrid = new QGridLayout(account);
    addRow(accountGrid, QStringLiteral("金融機関"), addText(QStringLiteral("PAY_BANK_NM"), Input::Japanese));
    addRow(accountGrid, QStringLiteral("支店"), addText(QStringLiteral("PAY_BR_NM"), Input::Japanese));
    addRow(accountGrid, QStringLiteral("口座種別"), addText(QStringLiteral("PAY_ACC_KBN"), Input::Japanese));
    addRow(accountGrid, QStringLiteral("口座番号"), addText(QStringLiteral("PAY_ACC_NO"), Input::Numeric, 10));
    addRow(accountGrid, QStringLiteral("口座名義"), addText(QStringLiteral("PAY_ACC_NM"), Input::Japanese));
    accountGrid->setColumnStretch(1, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(kind);
    left->addWidget(weekly);
    left->addWidget(monthly);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(account);
    right->addStretch(1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto *main = new QVBoxLayout(this);
    main->addLayout(columns);
    main->addLayout(buttonRow());

    formLoad();
}
