#include "settings/DialogKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>

DialogKeys::DialogKeys(QWidget *dialog, std::function<bool(QWidget *)> onEnter)
    : QObject(dialog), m_dialog(dialog), m_onEnter(std::move(onEnter))
{
}

void DialogKeys::attach()
{
    const auto children = m_dialog->findChildren<QWidget *>();
    for (QWidget *w : children)
        w->installEventFilter(this);
}

bool DialogKeys::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != m_dialog)
        return false;
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (m_onEnter && m_onEnter(widget))
            return true;
        // The same Tab the operator would type, so the window's own tab order decides.
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &tab);
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            edit->selectAll();
            // A mouse click places the cursor after the focus arrived; select again once it has.
            QPointer<QLineEdit> guarded(edit);
            QTimer::singleShot(0, edit, [guarded] {
                if (guarded && guarded->hasFocus())
                    guarded->selectAll();
            });
        }
    }
    return false;
}
