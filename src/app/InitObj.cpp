#include "app/InitObj.h"

#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

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
