#include "data/clsDb.h"
#include "data/Connection.h"

clsDb::clsDb()
{
    OpenCnn();
}

clsDb::~clsDb()
{
    CloseCnn();
}

void clsDb::OpenCnn()
{
    openConfigured(QStringLiteral("DB"), QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。"));
}
