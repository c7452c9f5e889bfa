#include "data/Globals.h"

#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

std::unique_ptr<clsINI> gIni;
std::unique_ptr<clsDb> gDb;
std::unique_ptr<clsMst> gMst;
double gSalesDate = 0;
