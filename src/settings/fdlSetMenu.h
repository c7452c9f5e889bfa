#pragma once

#include <QDialog>
#include <QList>

class QPushButton;

// 設定メニュー: one button per settings dialog and the producer master editor; each opens modally over
// the menu. Command1(0) closes the menu.
class fdlSetMenu : public QDialog
{
    Q_OBJECT

public:
    explicit fdlSetMenu(QWidget *parent = nullptr);
    QPushButton *button(int index) const { return m_buttons.value(index); }

private:
    void cmdClicked(int index);
    QList<QPushButton *> m_buttons;
};
