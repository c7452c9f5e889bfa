#pragma once

#include <QObject>

// What the data objects announce that only the program can act on: the operator's answer when the
// transaction or master database cannot be opened. The program connects them to the connection settings
// and to its end; where nothing is connected (the operator's tool, tests) the data object simply stays
// without its connection.
class DataEvents : public QObject
{
    Q_OBJECT

public:
    static DataEvents &instance();

signals:
    // Yes: the operator corrects the connection settings now; the opening is tried again with what he saved.
    void connectionSettingsWanted();
    // No: the program ends.
    void programEndWanted();
};
