#pragma once

#include "support/Rows.h"

#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/BankImport.h"
#include "payment/BankMaster.h"
#include "payment/ShopAccount.h"
#include "payment/ZenginCodeData.h"
#include "settlement/PayCls.h"

#include <QProcess>
#include <stdexcept>

// A payment closing ready for the bank's transfer file and the statements: the fixture's bank master, the
// shop's account, producers with their account codes, daily sales (Rows::adjDtl) and the closing (PayCls).
namespace PaymentFixture {

using Rows::day;

// The test copy of the zengin-code package's layout, and its banks imported into gMst.
inline const QString kPackage = QStringLiteral(VANTLE_ZENGIN_FIXTURE);
inline void ImportBanks()
{
    QString problem;
    const auto data = ZenginCodeData::Read(kPackage, &problem);
    if (!data)
        throw std::runtime_error(problem.toStdString());
    BankImport::Run(*gMst, *data);
}

// The shop's account at みずほ 東京営業部 (0001-001), client code 12345.
inline void SetShopAccount()
{
    const std::pair<QString, const char *> values[] = {
        {ShopAccount::ClientCodeKey, "12345"}, {ShopAccount::ClientNameKey, "ミノリチョクバイジョ"},
        {ShopAccount::BankCodeKey, "0001"},    {ShopAccount::BranchCodeKey, "001"},
        {ShopAccount::AccountKindKey, "1"},    {ShopAccount::AccountNoKey, "7654321"}};
    for (const auto &[key, value] : values)
        gMst->SaveCtrl(key, Variant(QString::fromUtf8(value)));
}

// A producer of the master with its account (M_FMR, fees 220 and 440) and its codes (M_FMR_BANK, none for nullptr).
struct Producer
{
    int id;
    const char *name, *bankName, *branchName, *kind, *number, *holder, *bankCode, *branchCode;
};
inline void AddProducer(const Producer &p)
{
    const auto u = [](const char *text) { return QString::fromUtf8(text); };
    gMst->EXEC(Sql(R"(INSERT INTO M_FMR (FMR_ID, FMR_NM, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, FEE_1, FEE_2)
                      VALUES (:id, :name, :bank, :branch, :kind, :number, :holder, 220, 440))")
                   .number("id", p.id).text("name", u(p.name)).text("bank", u(p.bankName)).text("branch", u(p.branchName))
                   .text("kind", u(p.kind)).text("number", u(p.number)).text("holder", u(p.holder)));
    if (p.bankCode)
        BankMaster::SaveProducerCodes(*gMst, p.id, {u(p.bankCode), u(p.branchCode)});
}

// Runs the administration tool (VANTLE_ADMIN) and gives its exit code and everything it wrote.
inline int admin(const QStringList &arguments, QString *output)
{
    QProcess p;
    p.start(qEnvironmentVariable("VANTLE_ADMIN"), arguments);
    p.waitForFinished(120000);
    *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Three producers with sales on several days of April 2024, closed on 4/30 and paid on 5/10:
//   1  山田 太郎   みずほ 東京営業部 普通 1234567, sales 12,345 over three days
//   2  ㈱ミノリ    朝日信金 浅草   当座 ７６５４３２１, sales 50,000 over two days
//   3  佐藤 花子   三井住友 大阪本店営業部 普通 12-3, sales 30,000 on one day
inline void ThreeProducerClosing()
{
    ImportBanks();
    SetShopAccount();
    AddProducer({1, "山田 太郎", "みずほ銀行", "東京営業部", "普通", "1234567", "ヤマダ タロウ", "0001", "001"});
    AddProducer({2, "㈱ミノリ", "朝日信用金庫", "浅草支店", "当座", "７６５４３２１", "カ）ミノリ", "1303", "002"});
    AddProducer({3, "佐藤 花子", "三井住友銀行", "大阪本店営業部", "普通", "12-3", "さとう はなこ", "0009", "101"});
    for (const auto &[date, fmrId, qty, amount] : std::initializer_list<std::tuple<int, int, const char *, const char *>>{
             {3, 1, "10", "4000"}, {10, 1, "12", "5345"}, {24, 1, "6", "3000"}, {10, 2, "100", "20000"},
             {11, 2, "150", "30000"}, {20, 3, "60", "30000"}})
        Rows::adjDtl(day(2024, 4, date), fmrId, qty, amount);
    if (!PayCls(*gDb, *gMst, day(2024, 4, 30), day(2024, 5, 10)))
        throw std::runtime_error("payment closing failed");
}

} // namespace PaymentFixture
