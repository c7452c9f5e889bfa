#pragma once

#include <QString>

// A payment closing ready for the bank's transfer file and the statements: the fixture's bank master, the
// shop's account, producers with their account codes, daily sales and the closing made by PayCls.
namespace PaymentFixture {

// The folder holding the test copy of the zengin-code package layout.
QString Package();
double Day(int year, int month, int day);

// Imports the fixture's banks into gMst.
void ImportBanks();
// The shop's account at みずほ 東京営業部 (0001-001).
void SetShopAccount();

struct Producer
{
    int id;
    const char *name;
    const char *bankName;   // M_FMR.BANK_NM
    const char *branchName;
    const char *kind;       // ACC_KBN
    const char *number;     // ACC_NO
    const char *holder;     // ACC_NM
    const char *bankCode;   // M_FMR_BANK, nullptr for none
    const char *branchCode;
};
void AddProducer(const Producer &p, const char *fee1 = "220", const char *fee2 = "440");
// One unpaid day of sales of a producer (D_ADJ_DTL).
void AddDay(double day, int fmrId, const char *qty, const char *amount);
// Runs the payment closing of that date (commission 15 %).
void Close(double closingDate, double payDate);

// Three producers with sales on several days of April 2024, closed on 4/30 and paid on 5/10:
//   1  山田 太郎   みずほ 東京営業部 普通 1234567, sales 12,345 over three days
//   2  ㈱ミノリ    朝日信金 浅草   当座 7654321, sales 50,000 over two days
//   3  佐藤 花子   三井住友 大阪本店営業部 普通 0000123, sales 30,000 on one day
void ThreeProducerClosing();

} // namespace PaymentFixture
