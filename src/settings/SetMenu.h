#pragma once

class QWidget;

// Shows the settings menu modally over the given screen.
void OpenSetMenu(QWidget *parent);
// Shows the connection settings dialog modally (also after a database could not be opened).
void OpenConnectionSettings(QWidget *parent);
// Makes the connection settings dialog the answer to a database that cannot be opened at start.
void InstallSettingsHooks();
