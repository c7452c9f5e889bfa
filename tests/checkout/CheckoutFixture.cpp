#include "CheckoutFixture.h"

#include "data/Globals.h"
#include "data/SqlDialect.h"
#include "data/clsMst.h"

namespace CheckoutFixture {

void insertMasters()
{
    gMst->EXEC(QStringLiteral("INSERT INTO M_PRD (PRD_ID, PRD_NM) VALUES (123, 'きゅうり'), (12, 'Farmer''s なす'), (5, %1)")
                   .arg(SqlDialect::text(kTomatoName)));
    gMst->EXEC(QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (45, %1), (7, %2)")
                   .arg(SqlDialect::text(kFarm45), SqlDialect::text(kFarm7)));
    gMst->EXEC(QStringLiteral("INSERT INTO M_PRD_BCD (BCD, PRD_ID, FMR_ID, BCD_NM, PRC, UNIT_ID) VALUES "
                              "('%1', 5, 45, %2, 298, 2), ('%3', 12, 7, %4, 150, 1), "
                              "('%5', 5, 7, NULL, 80, 1), ('%6', 5, 7, '登録品', 500, 3)")
                   .arg(kTomato, SqlDialect::text(kTomatoName), kHerb, SqlDialect::text(kHerbName), kNoName, kShadowed));
}

DtlRec line(qint32 no, const QString &name, const QString &farm, const char *price, const char *qty)
{
    return DtlRec{.DTL_NO = no, .BCD = kTomato, .PRD_ID = 5, .BCD_NM = name, .FMR_ID = 45, .FMR_NM = farm,
                  .O_PRC = money(price), .D_PRC = {}, .PRC = money(price), .QTY = money(qty), .UNIT_ID = 2,
                  .AMT = money(price) * money(qty)};
}

} // namespace CheckoutFixture
