#include "data/Globals.h"

#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

std::unique_ptr<clsINI> gIni;
std::unique_ptr<clsDb> gDb;
std::unique_ptr<clsMst> gMst;
double gSalesDate = 0;
QString gLogPath;

void InitObj()
{
    gIni = std::make_unique<clsINI>();
    gDb = std::make_unique<clsDb>();
    gMst = std::make_unique<clsMst>();
}

void ReleaseObj()
{
    gMst.reset();
    gDb.reset();
    gIni.reset();
}
