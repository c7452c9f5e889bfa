#include "settings/SetMenu.h"

// Placeholders until the settings dialogs exist.
void OpenSetMenu(QWidget *) {}
void OpenConnectionSettings(QWidget *) {}
