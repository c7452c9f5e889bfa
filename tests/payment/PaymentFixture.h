#pragma once

#include "support/Rows.h"

#include <QStringList>

// A payment closing ready for the bank's transfer file and the statements: the fixture's bank master, the
// shop's account, producers with their account codes, daily sales (Rows::adjDtl) and the closing (PayCls).
namespace PaymentFixture {

using Rows::day;

// The test copy of the zengin-code package's layout, and its banks imported into gMst.
inline const QString kPackage = QStringLiteral(VANTLE_ZENGIN_FIXTURE);
void ImportBanks();
// The shop's account at みずほ 東京営業部 (0001-001), client code 12345.
void SetShopAccount();

// A producer of the master with its account (M_FMR, fees 220 and 440) and its codes (M_FMR_BANK, none for nullptr).
struct Producer
{
    int id;
    const char *name, *bankName, *branchName, *kind, *number, *holder, *bankCode, *branchCode;
};
void AddProducer(const Producer &p);
// Runs the administration tool (VANTLE_ADMIN) and gives its exit code and everything it wrote.
int admin(const QStringList &arguments, QString *output);

// Three producers with sales on several days of April 2024, closed on 4/30 and paid on 5/10:
//   1  山田 太郎   みずほ 東京営業部 普通 1234567, sales 12,345 over three days
//   2  ㈱ミノリ    朝日信金 浅草   当座 ７６５４３２１, sales 50,000 over two days
//   3  佐藤 花子   三井住友 大阪本店営業部 普通 12-3, sales 30,000 on one day
void ThreeProducerClosing();

} // namespace PaymentFixture
