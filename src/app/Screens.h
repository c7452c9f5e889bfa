#pragma once

class QObject;

// How the program answers what its parts announce, wired the same way by Main and by the tests: while
// `context` lives, a database that cannot be opened leads to the connection settings, or ends the program.
void ConnectDataEvents(QObject *context);
