#include "PaymentFixture.h"

#include "base/DateValue.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/BankImport.h"
#include "payment/BankMaster.h"
#include "payment/ShopAccount.h"
#include "payment/ZenginCodeData.h"
#include "settlement/PayCls.h"

#include <stdexcept>

namespace PaymentFixture {

QString Package()
{
    return QStringLiteral(VANTLE_ZENGIN_FIXTURE);
}

double Day(int year, int month, int day)
{
    return DateValue::fromParts(year, month, day);
}

void ImportBanks()
{
    QString problem;
    const auto data = ZenginCodeData::Read(Package(), &problem);
    if (!data)
        throw std::runtime_error(problem.toStdString());
    BankImport::Run(*gMst, *data);
}

void SetShopAccount()
{
    gMst->SaveCtrl(ShopAccount::ClientCodeKey, Variant(QStringLiteral("1234567890")));
    gMst->SaveCtrl(ShopAccount::ClientNameKey, Variant(QStringLiteral("ミノリチョクバイジョ")));
    gMst->SaveCtrl(ShopAccount::BankCodeKey, Variant(QStringLiteral("0001")));
    gMst->SaveCtrl(ShopAccount::BranchCodeKey, Variant(QStringLiteral("001")));
    gMst->SaveCtrl(ShopAccount::AccountKindKey, Variant(QStringLiteral("1")));
    gMst->SaveCtrl(ShopAccount::AccountNoKey, Variant(QStringLiteral("7654321")));
}

void AddProducer(const Producer &p, const char *fee1, const char *fee2)
{
    gMst->EXEC(Sql(R"(INSERT INTO M_FMR (FMR_ID, FMR_NM, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, FEE_1, FEE_2)
                      VALUES (:id, :name, :bank, :branch, :kind, :number, :holder, :fee1, :fee2))")
                   .number(QStringLiteral("id"), p.id)
                   .text(QStringLiteral("name"), QString::fromUtf8(p.name))
                   .text(QStringLiteral("bank"), QString::fromUtf8(p.bankName))
                   .text(QStringLiteral("branch"), QString::fromUtf8(p.branchName))
                   .text(QStringLiteral("kind"), QString::fromUtf8(p.kind))
                   .text(QStringLiteral("number"), QString::fromUtf8(p.number))
                   .text(QStringLiteral("holder"), QString::fromUtf8(p.holder))
                   .raw(QStringLiteral("fee1"), QString::fromLatin1(fee1))
                   .raw(QStringLiteral("fee2"), QString::fromLatin1(fee2)));
    if (p.bankCode)
        BankMaster::SaveProducerCodes(*gMst, p.id, {QString::fromLatin1(p.bankCode), QString::fromLatin1(p.branchCode)});
}

void AddDay(double day, int fmrId, const char *qty, const char *amount)
{
    gDb->EXEC(Sql(R"(INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT) VALUES (:day, :fmr, :qty, :amt))")
                  .date(QStringLiteral("day"), day)
                  .number(QStringLiteral("fmr"), fmrId)
                  .raw(QStringLiteral("qty"), QString::fromLatin1(qty))
                  .raw(QStringLiteral("amt"), QString::fromLatin1(amount)));
}

void Close(double closingDate, double payDate)
{
    if (!PayCls(*gDb, *gMst, closingDate, payDate))
        throw std::runtime_error("payment closing failed");
}

void ThreeProducerClosing()
{
    ImportBanks();
    SetShopAccount();
    AddProducer({1, "山田 太郎", "みずほ銀行", "東京営業部", "普通", "1234567", "ヤマダ タロウ", "0001", "001"});
    AddProducer({2, "㈱ミノリ", "朝日信用金庫", "浅草支店", "当座", "７６５４３２１", "カ）ミノリ", "1303", "002"});
    AddProducer({3, "佐藤 花子", "三井住友銀行", "大阪本店営業部", "普通", "123", "さとう はなこ", "0009", "101"});
    AddDay(Day(2024, 4, 3), 1, "10", "4000");
    AddDay(Day(2024, 4, 10), 1, "12", "5345");
    AddDay(Day(2024, 4, 24), 1, "6", "3000");
    AddDay(Day(2024, 4, 10), 2, "100", "20000");
    AddDay(Day(2024, 4, 11), 2, "150", "30000");
    AddDay(Day(2024, 4, 20), 3, "60", "30000");
    Close(Day(2024, 4, 30), Day(2024, 5, 10));
}

} // namespace PaymentFixture
