#include "settings/SetMenu.h"

#include "settings/fdlSetConCtrl.h"
#include "settings/fdlSetMenu.h"

void OpenSetMenu(QWidget *parent)
{
    fdlSetMenu menu(parent);
    menu.exec();
}

void OpenConnectionSettings(QWidget *parent)
{
    fdlSetConCtrl dialog(parent);
    dialog.exec();
}
