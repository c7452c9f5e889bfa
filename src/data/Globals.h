#pragma once

#include <memory>

class clsINI;
class clsDb;
class clsMst;

// The program-wide state every screen shares: the three data objects and the sales date. Only the program
// creates and releases the data objects (InitObj and ReleaseObj in app/); the rest of it uses them.
extern std::unique_ptr<clsINI> gIni;
extern std::unique_ptr<clsDb> gDb;
extern std::unique_ptr<clsMst> gMst;
// The business day every sale of the run is booked to (a date value without time).
extern double gSalesDate;
