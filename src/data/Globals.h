#pragma once

#include <QString>
#include <memory>

class clsINI;
class clsDb;
class clsMst;

// The program-wide state every screen shares: the three data objects, the sales date and the log path.
extern std::unique_ptr<clsINI> gIni;
extern std::unique_ptr<clsDb> gDb;
extern std::unique_ptr<clsMst> gMst;
// The business day every sale of the run is booked to (a date value without time).
extern double gSalesDate;
// The log file's full path; empty until the first line is written.
extern QString gLogPath;

// Creates the data objects in their order: the local settings first, then the transaction and master
// databases, whose connections are read from the local settings.
void InitObj();
// Releases the data objects in the reverse order.
void ReleaseObj();
