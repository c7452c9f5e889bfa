#pragma once

class QWidget;

// Shows the settings menu modally over the given screen.
void OpenSetMenu(QWidget *parent);
// Shows the connection settings dialog modally (also after a database could not be opened).
void OpenConnectionSettings(QWidget *parent);
