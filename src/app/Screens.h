#pragma once

#include "app/StartUp.h"

class QObject;
class frmAdj;
class frmReg;

// The program's top-level screens and how they hand over to each other, wired the same way by Main and by
// the tests.

// The calendar at start: a new screen each time, so it opens on the date just proposed.
StartUp::CalendarExit ShowCalendar();
// The register screen as the run's window. Its close hands over to the settlement screen when the
// settlement takes over (StartUp::SettlementTakesOver), else it ends the run.
frmReg *OpenRegister();
// The settlement screen for gSalesDate as the run's window; its close ends the run.
frmAdj *OpenSettlement();
// While `context` lives, a database that cannot be opened leads to the connection settings, or ends the
// program at once.
void ConnectDataEvents(QObject *context);
