#include "CheckoutFixture.h"

#include "data/Globals.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsMst.h"

namespace CheckoutFixture {

void insertMasters()
{
    const auto product = [](int id, const QString &name) {
        gMst->EXEC(QStringLiteral("INSERT INTO M_PRD (PRD_ID, PRD_NM) VALUES (%1, %2)").arg(id).arg(SqlDialect::text(name)));
    };
    const auto producer = [](int id, const QString &name) {
        gMst->EXEC(QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (%1, %2)").arg(id).arg(SqlDialect::text(name)));
    };
    const auto barcode = [](const QString &bcd, int prd, int fmr, const QString &name, const char *price, int unit) {
        gMst->EXEC(QStringLiteral("INSERT INTO M_PRD_BCD (BCD, PRD_ID, FMR_ID, BCD_NM, PRC, UNIT_ID) VALUES (%1, %2, %3, %4, %5, %6)")
                       .arg(SqlDialect::text(bcd)).arg(prd).arg(fmr).arg(SqlDialect::text(name))
                       .arg(QString::fromLatin1(price)).arg(unit));
    };
    product(123, QStringLiteral("きゅうり"));
    product(12, QStringLiteral("Farmer's なす"));
    product(5, kTomatoName);
    producer(45, kFarm45);
    producer(7, kFarm7);
    barcode(kTomato, 5, 45, kTomatoName, "298", 2);
    barcode(kHerb, 12, 7, kHerbName, "150", 1);
    barcode(kNoName, 5, 7, QString(), "80", 1);
    barcode(kShadowed, 5, 7, QStringLiteral("登録品"), "500", 3);
}

DtlRec line(qint32 no, const QString &name, const QString &farm, const char *price, const char *qty)
{
    DtlRec d;
    d.DTL_NO = no;
    d.BCD = kTomato;
    d.PRD_ID = 5;
    d.BCD_NM = name;
    d.FMR_ID = 45;
    d.FMR_NM = farm;
    d.O_PRC = money(price);
    d.PRC = d.O_PRC;
    d.QTY = money(qty);
    d.UNIT_ID = 2;
    d.AMT = d.PRC * d.QTY;
    return d;
}

} // namespace CheckoutFixture
