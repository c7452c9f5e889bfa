#include "settings/fdlSetMenu.h"

#include "base/Common.h"
#include "base/ScreenGuard.h"
#include "settings/fdlMstFmrEdit.h"
#include "settings/fdlPrdTaxList.h"
#include "settings/fdlSetBankCtrl.h"
#include "settings/fdlSetConCtrl.h"
#include "settings/fdlSetDbCtrl.h"
#include "settings/fdlSetIniCtrl.h"
#include "settings/fdlSetMstCtrl1.h"
#include "settings/fdlSetMstCtrl2.h"
#include "settings/fdlSetMstCtrl3.h"
#include "settings/fdlSetNtcCtrl.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

namespace {

template <class Dialog>
void run(QWidget *owner)
{
    Dialog dialog(owner);
    dialog.exec();
}

} // namespace

fdlSetMenu::fdlSetMenu(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("設定メニュー"));
    setModal(true);
    const char *const captions[] = {"閉じる(&X)", "ﾛｰｶﾙ設定(&L)", "接続設定(&C)", "連番情報(&N)",
                                    "つり銭情報(&H)", "管理情報(&M)", "支払情報(&M)", "生産者(&F)",
                                    "振込依頼人(&B)", "売上通知(&T)", "商品別税率(&R)"};
    constexpr int count = int(std::size(captions));
    auto *column = new QVBoxLayout(this);
    column->setSpacing(6);
    for (int i = 0; i < count; ++i) {
        auto *b = new QPushButton(QString::fromUtf8(captions[i]), this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setAutoDefault(false);
        b->setMinimumSize(QFontMetrics(b->font()).horizontalAdvance(QStringLiteral("つり銭情報(H)")) + 48,
                          QFontMetrics(b->font()).height() * 2);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdClicked(i); });
        m_buttons.append(b);
    }
    for (int i = 1; i < count; ++i)
        column->addWidget(m_buttons[i]);
    column->addSpacing(10);
    column->addWidget(m_buttons[0]);
    for (int i = 1; i < count; ++i)
        QWidget::setTabOrder(m_buttons[i], m_buttons[(i + 1) % count]);
    m_buttons[1]->setFocus();
}

void fdlSetMenu::cmdClicked(int index)
{
    guarded([this, index] {
        switch (index) {
        case 0: accept(); break;
        case 1: run<fdlSetIniCtrl>(this); break;
        case 2: run<fdlSetConCtrl>(this); break;
        case 3: run<fdlSetDbCtrl>(this); break;
        case 4: run<fdlSetMstCtrl1>(this); break;
        case 5: run<fdlSetMstCtrl2>(this); break;
        case 6: run<fdlSetMstCtrl3>(this); break;
        case 7: run<fdlMstFmrEdit>(this); break;
        case 8: run<fdlSetBankCtrl>(this); break;
        case 9: run<fdlSetNtcCtrl>(this); break;
        case 10: run<fdlPrdTaxList>(this); break;
        default: break;
        }
    });
}
