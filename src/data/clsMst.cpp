#include "data/clsMst.h"
#include "data/Connection.h"

clsMst::clsMst()
{
    OpenCnn();
}

clsMst::~clsMst()
{
    CloseCnn();
}

void clsMst::OpenCnn()
{
    openConfigured(QStringLiteral("MST"), QStringLiteral("ﾏｽﾀﾃﾞｰﾀが不正ですので設定してください。"));
}
