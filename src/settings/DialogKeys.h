#pragma once

#include <QObject>
#include <functional>

class QWidget;

// The keyboard habits of the register's dialogs: Enter moves to the next control as Tab does (and types
// nothing), and a text box selects its whole text when it takes the focus. Attached to a dialog, it
// watches every control of that window (not the pop-up lists, where Enter picks the entry).
class DialogKeys : public QObject
{
public:
    // onEnter is asked first when Enter is pressed in a control; it returns true when it has dealt with
    // the key itself (the focus then stays where it put it).
    explicit DialogKeys(QWidget *dialog, std::function<bool(QWidget *)> onEnter = {});
    // Watches the dialog's controls; call once they all exist.
    void attach();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_dialog;
    std::function<bool(QWidget *)> m_onEnter;
};
