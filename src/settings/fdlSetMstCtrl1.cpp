#include "settings/fdlSetMstCtrl1.h"

#include "base/Format.h"
#include "base/ScreenGuard.h"
#include "settings/SettingValues.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QString countKey(int index)
{
    return QStringLiteral("DEF_%1").arg(index + 1, 2, 10, QLatin1Char('0'));
}

} // namespace

fdlSetMstCtrl1::fdlSetMstCtrl1(QWidget *parent)
    : SettingsDialog(parent, QStringLiteral("つり銭設定"), Store::Mst)
{
    static const char *const captions[10] = {"壱万円枚数", "伍千円枚数", "弐千円枚数", "千円枚数", "500円枚数",
                                             "100円枚数", "50円枚数", "10円枚数", "５円枚数", "１円枚数"};
    auto *box = new QGroupBox(QStringLiteral("つり銭情報"), this);
    auto *grid = new QGridLayout(box);
    for (int i = 0; i < 10; ++i) {
        QLineEdit *count = addText(countKey(i), Input::Numeric, 3);
        // The total follows each count when the operator leaves its box.
        count->installEventFilter(this);
        addRow(grid, QString::fromUtf8(captions[i]), count, QStringLiteral("枚"));
    }
    const int row = grid->rowCount();
    grid->addWidget(label(QStringLiteral("合計")), row, 0);
    m_sum = new QLabel(this);
    m_sum->setObjectName(QStringLiteral("lblDEF_SUM"));
    m_sum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_sum->setFrameShape(QFrame::Panel);
    m_sum->setFrameShadow(QFrame::Sunken);
    m_sum->setMinimumWidth(text(countKey(0))->width() * 2);
    auto *sumRow = new QHBoxLayout;
    sumRow->setSpacing(4);
    sumRow->addWidget(m_sum);
    sumRow->addWidget(label(QStringLiteral("円")));
    sumRow->addStretch(1);
    grid->addLayout(sumRow, row, 1);
    grid->setColumnStretch(1, 1);

    auto *main = new QVBoxLayout(this);
    main->addWidget(box);
    main->addLayout(buttonRow());

    formLoad();
}

void fdlSetMstCtrl1::CalcDef()
{
    QStringList counts;
    for (int i = 0; i < 10; ++i)
        counts << text(countKey(i))->text();
    m_sum->setText(Format::number(SettingValues::ChangeFundTotal(counts), QStringLiteral("#,##0")));
}

bool fdlSetMstCtrl1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && qobject_cast<QLineEdit *>(watched)) {
        guarded([this] { CalcDef(); });
    }
    return SettingsDialog::eventFilter(watched, event);
}
