#pragma once

#include "payment/BankMatch.h"

#include <QList>
#include <QString>

class clsData;
struct ZenginCodeData;

// Loads the banks' codes into the master database and proposes codes for the producers that have none.
namespace BankImport {

struct Producer
{
    qint32 fmrId = 0;
    QString name;
    QString bankName;
    QString branchName;
};
struct Proposal
{
    Producer producer;
    QString bankCode;
    QString branchCode;
};
struct Undecided
{
    Producer producer;
    QString reason;
};
struct Result
{
    int banks = 0;
    int branches = 0;
    QList<Proposal> proposed;   // stored: exactly one bank and branch fits the names
    QList<Undecided> undecided; // left for a person, with the reason
};

// In one transaction: the bank master is replaced by the data, and every producer without codes whose bank
// and branch names match exactly one bank and branch gets those codes; codes a person stored are never
// changed. Producers without a bank name are not listed (they are not paid by transfer). A failure rolls
// everything back and reaches the caller (DbError).
Result Run(clsData &mst, const ZenginCodeData &data);

} // namespace BankImport
