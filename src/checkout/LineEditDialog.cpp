#include "checkout/LineEditDialog.h"

#include "base/Common.h"
#include "base/ScreenGuard.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

LineEditDialog::LineEditDialog(SaleState &sale, QWidget *parent) : QDialog(parent), m_sale(sale)
{
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

QLabel *LineEditDialog::valueLabel()
{
    auto *label = new QLabel(this);
    label->setFrameShape(QFrame::Box);
    label->setMinimumWidth(220);
    label->setIndent(4);
    return label;
}

QLineEdit *LineEditDialog::valueBox()
{
    auto *box = new QLineEdit(this);
    box->setAlignment(Qt::AlignRight);
    box->setMaxLength(12);
    box->installEventFilter(this);
    editBox = box;
    return box;
}

const DtlRec &LineEditDialog::line() const
{
    return m_sale.line(gDtlIdx);
}

void LineEditDialog::build(const QList<Row> &rows)
{
    auto *grid = new QGridLayout;
    lbllDTL_NO = new QLabel(this);
    grid->addWidget(lbllDTL_NO, 0, 0, 1, 2);
    int r = 1;
    for (const Row &row : rows) {
        grid->addWidget(new QLabel(row.heading, this), r, 0);
        grid->addWidget(row.value, r, 1);
        ++r;
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const char *caption : {"ｷｬﾝｾﾙ", "設定"}) {
        auto *button = new QPushButton(QString::fromUtf8(caption), this);
        // Enter on a button presses that button, never a default one.
        button->setAutoDefault(false);
        button->installEventFilter(this);
        buttons->addWidget(button);
        Command1.append(button);
    }
    // From the box the focus goes on to 設定, then to ｷｬﾝｾﾙ.
    setTabOrder(editBox, Command1[1]);
    setTabOrder(Command1[1], Command1[0]);
    connect(Command1[0], &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1[1], &QPushButton::clicked, this, [this] {
        guarded([this] {
            if (confirm())
                accept();
        });
    });
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    QFont f = font();
    f.setPointSize(12);
    setFont(f);
}

bool LineEditDialog::confirm()
{
    switch (apply(editBox->text())) {
    case SaleState::Edit::Done:
        lblAMT->setText(line().AMT.toPlainText());
        return true;
    case SaleState::Edit::TooLarge:
        MsgBoxEx(SaleState::TooLargeMessage, Msg::Exclamation);
        break;
    case SaleState::Edit::NotANumber:
        break;
    }
    editBox->setFocus();
    editBox->selectAll();
    return false;
}

bool LineEditDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == editBox && event->type() == QEvent::FocusIn) {
        // Typing replaces the value: the whole text is selected once the focus has arrived.
        QTimer::singleShot(0, editBox, [box = editBox] { box->selectAll(); });
    } else if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (watched == editBox && enter) {
            guarded([this] {
                if (confirm())
                    focusNextChild();
            });
            return true;
        }
        if (watched == editBox && tab) {
            // Leaving the box with something that is no number is refused.
            return !SaleState::typedNumber(editBox->text());
        }
        if (enter) {
            if (auto *button = qobject_cast<QPushButton *>(watched))
                button->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
