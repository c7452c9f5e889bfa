#include "settings/fdlMstFmrEdit.h"

#include "base/Common.h"
#include "base/ScreenGuard.h"
#include "base/Variant.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Transaction.h"
#include "data/clsMst.h"
#include "payment/BankMaster.h"
#include "settings/DialogKeys.h"
#include "settings/FmrBankBoxes.h"
#include "settings/FmrMaster.h"
#include "settings/FmrNoticeBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum class Input { Numeric, Latin, Hiragana, FullWidth };

struct BoxDesign
{
    const char *label;
    int maxLength;
    Input input;
};

// Text1(0) to Text1(12): the code, then the columns of FmrMaster::Columns() in their order.
const BoxDesign Boxes[13] = {
    {"生産者ｺｰﾄﾞ", 4, Input::Numeric},  {"生産者名", 50, Input::Hiragana}, {"住所", 50, Input::Hiragana},
    {"電話番号", 15, Input::Latin},      {"ﾗﾍﾞﾙ電話番号", 15, Input::Latin}, {"備考", 50, Input::Hiragana},
    {"金融機関名", 50, Input::Hiragana}, {"支店名", 50, Input::Hiragana},   {"口座種別", 50, Input::Hiragana},
    {"口座番号", 10, Input::FullWidth},  {"口座名義", 50, Input::Hiragana},
    {"振込手数料　 ３万円未満", 4, Input::Numeric}, {"３万円以上", 4, Input::Numeric},
};

void paintBase(QLineEdit *edit, const QColor &colour)
{
    QPalette p = edit->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Base, colour);
    edit->setPalette(p);
}

} // namespace

fdlMstFmrEdit::fdlMstFmrEdit(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("生産者ﾏｽﾀ編集"));
    setModal(true);
    const QFontMetrics fm(font());
    const int digit = fm.horizontalAdvance(u'0');
    const int wide = fm.horizontalAdvance(QChar(0x3042));

    for (int i = 0; i < 13; ++i) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Text1_%1").arg(i));
        edit->setMaxLength(Boxes[i].maxLength);
        switch (Boxes[i].input) {
        case Input::Numeric:
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            edit->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            edit->setFixedWidth(digit * 6 + 14);
            break;
        case Input::Latin:
            edit->setInputMethodHints(Qt::ImhLatinOnly);
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            edit->setFixedWidth(digit * 16 + 14);
            break;
        case Input::FullWidth:
            edit->setFixedWidth(wide * 10 + 14);
            break;
        case Input::Hiragana:
            edit->setMinimumWidth(wide * 25 + 14);
            break;
        }
        m_text.append(edit);
    }
    for (const char *caption : {"閉じる", "登録"}) {
        auto *b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(m_cmd.size()));
        b->setAutoDefault(false);
        b->setMinimumWidth(wide * 5 + 14);
        const int index = int(m_cmd.size());
        connect(b, &QPushButton::clicked, this, [this, index] { cmdClicked(index); });
        m_cmd.append(b);
    }

    auto *grid = new QGridLayout;
    for (int i = 0; i <= 10; ++i) {
        grid->addWidget(new QLabel(QString::fromUtf8(Boxes[i].label), this), i, 0);
        grid->addWidget(m_text[i], i, 1, 1, 3, Qt::AlignLeft);
    }
    // The two fees share one row: under 30,000 yen and from 30,000 yen on.
    grid->addWidget(new QLabel(QString::fromUtf8(Boxes[11].label), this), 11, 0);
    auto *fees = new QHBoxLayout;
    fees->addWidget(m_text[11]);
    fees->addSpacing(wide);
    fees->addWidget(new QLabel(QString::fromUtf8(Boxes[12].label), this));
    fees->addWidget(m_text[12]);
    fees->addStretch(1);
    grid->addLayout(fees, 11, 1, 1, 3);
    m_bankBoxes = new FmrBankBoxes(this);
    grid->addWidget(new QLabel(QStringLiteral("金融機関ｺｰﾄﾞ"), this), 12, 0);
    grid->addWidget(m_bankBoxes, 12, 1, 1, 3);
    m_notice = new FmrNoticeBox(this);
    grid->addWidget(new QLabel(QStringLiteral("売上通知ﾒｰﾙ"), this), 13, 0);
    grid->addWidget(m_notice, 13, 1, 1, 3);
    grid->setColumnStretch(3, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmd[1]);
    buttons->addWidget(m_cmd[0]);
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addSpacing(6);
    main->addLayout(buttons);

    for (int i = 1; i < 13; ++i)
        QWidget::setTabOrder(m_text[i - 1], m_text[i]);
    QWidget::setTabOrder(m_text[12], m_bankBoxes->txtBANK_CD);
    QWidget::setTabOrder(m_bankBoxes->txtBR_CD, m_notice->address());
    QWidget::setTabOrder(m_notice->address(), m_notice->on());
    QWidget::setTabOrder(m_notice->on(), m_cmd[1]);
    QWidget::setTabOrder(m_cmd[1], m_cmd[0]);
    (new DialogKeys(this, [this](QWidget *w) { return enterPressed(w); }))->attach();

    setMode(0);
    m_text[0]->setFocus();
}

void fdlMstFmrEdit::setMode(int mode)
{
    m_mode = mode;
    const bool editing = mode == 2;
    const QColor white(Qt::white);
    // The system's colour of inactive surfaces.
    const QColor inactive = QApplication::palette().color(QPalette::Active, QPalette::Window);
    paintBase(m_text[0], editing ? inactive : white);
    m_text[0]->setReadOnly(editing);
    m_text[0]->setEnabled(!editing);
    for (int i = 1; i < 13; ++i) {
        if (!editing)
            m_text[i]->clear();
        paintBase(m_text[i], editing ? white : inactive);
        m_text[i]->setReadOnly(!editing);
        m_text[i]->setEnabled(editing);
    }
    if (!editing)
        m_bankBoxes->clear();
    m_bankBoxes->setEditable(editing);
    m_notice->setEditing(editing);
    m_cmd[1]->setEnabled(editing);
    m_cmd[0]->setText(editing ? QStringLiteral("キャンセル") : QStringLiteral("閉じる"));
}

qint32 fdlMstFmrEdit::code() const
{
    return Variant(Val(m_text[0]->text())).toLong();
}

bool fdlMstFmrEdit::GetData(qint32 code)
{
    if (!gMst)
        throw DbError(QStringLiteral("データベースに接続されていません。"));
    const auto texts = FmrMaster::Read(*gMst, code);
    if (!texts)
        return false;
    for (int i = 1; i < 13; ++i)
        m_text[i]->setText(texts->value(i - 1));
    m_bankBoxes->load(*gMst, code);
    m_notice->load(*gMst, code);
    return true;
}

bool fdlMstFmrEdit::SaveData(qint32 code)
{
    if (!gMst)
        return false;
    QStringList texts;
    for (int i = 1; i < 13; ++i)
        texts << m_text[i]->text();
    // The producer's row, the account's codes and the notice address are saved together or not at all.
    try {
        BankMaster::EnsureTables(*gMst);
        Transaction transaction(*gMst);
        if (!FmrMaster::Save(*gMst, code, texts))
            return false;
        BankMaster::SaveProducerCodes(*gMst, code, m_bankBoxes->codes());
        m_notice->save(*gMst, code);
        transaction.commit();
        return true;
    } catch (const std::exception &e) {
        WriteLog(QStringLiteral("生産者ﾏｽﾀの登録に失敗しました: ") + QString::fromStdString(e.what()));
        return false;
    }
}

bool fdlMstFmrEdit::ChkData()
{
    const QString problem = BankMaster::CheckCodes(m_bankBoxes->codes());
    if (!problem.isEmpty()) {
        MsgBoxEx(problem, Msg::Exclamation);
        m_bankBoxes->txtBANK_CD->setFocus();
        return false;
    }
    return m_notice->check();
}

bool fdlMstFmrEdit::enterPressed(QWidget *control)
{
    if (control != m_text[0] || m_mode == 2)
        return false;
    bool found = true;
    guarded([this, &found] {
        found = GetData(code());
        if (!found)
            return; // no such producer: stay in code entry, Enter moves on as usual
        setMode(2);
        m_cmd[0]->setFocus();
    });
    return found;
}

void fdlMstFmrEdit::cmdClicked(int index)
{
    guarded([this, index] {
        if (index == 0) {
            if (m_mode == 2) {
                setMode(0);
                m_text[0]->setFocus();
            } else {
                QDialog::reject();
            }
            return;
        }
        const qint32 producer = code();
        if (!ChkData())
            return;
        if (SaveData(producer)) {
            setMode(0);
            m_text[0]->setFocus();
            return;
        }
        MsgBoxEx(QStringLiteral("データの登録に失敗しました。"), Msg::Exclamation);
    });
}

void fdlMstFmrEdit::reject()
{
    if (m_mode != 2)
        QDialog::reject();
}
