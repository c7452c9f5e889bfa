#pragma once

#include "tax/SaleTax.h"

#include <QString>

class clsData;

// What a receipt says about tax. A sale stored with its tax shows what was charged then; a sale stored
// before the tax was kept shows, as receipts always did, the tax of its total at the shop's rate now.
//
// The receipt becomes a simplified invoice when the shop's registration number is set or the sale has
// more than one rate: the number under the shop's name, the reduced-rate lines marked "※", and per rate
// its total and tax. Otherwise it stays the receipt it always was, with one "内消費税".
class ReceiptTax
{
public:
    ReceiptTax(clsData *db, clsData *mst, qint32 regId);

    // The registration number when a valid one is set, else empty.
    const QString &registration() const { return m_registration; }
    bool invoice() const { return !m_registration.isEmpty() || (m_stored && m_stored->rates().size() > 1); }
    // "※" before the name of a reduced-rate line on an invoice; empty otherwise.
    QString mark(qint32 dtlNo) const;
    // The rates of the sale with their totals and tax, highest rate first; for a sale stored without them,
    // its total at the shop's rate.
    QList<SaleTax::Rate> rates(Currency total) const;
    // Whether the invoice marks any line, and so explains the mark.
    bool marksReduced() const;

    static constexpr const char *Mark = "※";
    static constexpr const char *MarkNote = "※は軽減税率対象";

private:
    std::optional<Currency> rateOfLine(qint32 dtlNo) const;

    QString m_registration;
    Currency m_shopRate;
    std::optional<SaleTax> m_stored;
};
