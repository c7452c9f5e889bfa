#pragma once

#include <QHash>
#include <QString>
#include <optional>

class clsData;

// The bank master of the master database (M_BANK, M_BANK_BR, filled by vantle-admin banks import) and the
// bank and branch codes of each producer's account (M_FMR_BANK). The register reads them offline: what
// the last import brought is what it knows.
namespace BankMaster {

// Creates the three tables where the master database was made before they existed.
void EnsureTables(clsData &mst);
// True once an import has filled the master (false also where the tables do not exist yet).
bool IsImported(clsData &mst);

struct Name
{
    QString name; // as the bank writes it ("みずほ", "東京営業部")
    QString kana; // full-width katakana as imported
};
std::optional<Name> Bank(clsData &mst, const QString &bankCode);
std::optional<Name> Branch(clsData &mst, const QString &bankCode, const QString &branchCode);

// A producer's codes; both empty when none are kept.
struct Codes
{
    QString bank;   // 4 digits
    QString branch; // 3 digits
    bool isEmpty() const { return bank.isEmpty() && branch.isEmpty(); }
};
Codes ProducerCodes(clsData &mst, qint32 fmrId);

// Every producer's codes with the kana of bank and branch where the master knows the code (empty kana:
// the code is not in the master).
struct Account
{
    Codes codes;
    std::optional<QString> bankKana;
    std::optional<QString> branchKana;
};
QHash<qint32, Account> ProducerAccounts(clsData &mst);

// Codes as typed: 4 and 3 digits, or both empty. The problem for the operator, or "" when fine.
QString CheckCodes(const Codes &codes);
// Stores the codes (both empty removes them) inside the caller's transaction; throws DbError, and
// std::invalid_argument for codes CheckCodes refuses.
void SaveProducerCodes(clsData &mst, qint32 fmrId, const Codes &codes);

} // namespace BankMaster
