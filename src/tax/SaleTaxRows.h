#pragma once

#include "tax/SaleTax.h"

class clsData;

// The tax of each sale as it was charged, kept in the transaction database beside the sale: D_REG_TAX holds
// per sale and rate the amount and its tax, D_REG_DTL_TAX the rate of each line. The daily close moves them
// with the day's sales to B_REG_TAX and B_REG_DTL_TAX, and its undo brings them back, in the transactions
// that move the sale rows. A receipt printed again shows what was charged then, whatever the rates are now.
namespace SaleTaxRows {

// The four tables, made when a database from before them lacks them. False when they are missing and
// cannot be made (a server user without the right to create tables; the log says so): sales are then
// stored and closed without their tax, as before. Runs before a transaction begins.
bool Ready(clsData &db);

// Inside the sale's transaction.
void Insert(clsData &db, qint32 regId, const SaleTax &tax);
// The tax stored with an open sale; nothing when none was stored (a sale from before the tables existed).
std::optional<SaleTax> Load(clsData &db, qint32 regId);

// Inside the daily close's transaction, while the day's sales are still in D_REG: the day's tax rows move
// to the backup tables, replacing an earlier copy of the day.
void MoveToBackup(clsData &db, double salesDate);
// Inside the undo's transaction, before the day's sales are replaced: the day's tax rows come back.
void BringBack(clsData &db, double salesDate);

} // namespace SaleTaxRows
