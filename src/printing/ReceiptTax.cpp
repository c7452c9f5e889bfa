#include "printing/ReceiptTax.h"

#include "printing/PrintCtrl.h"
#include "tax/RegistrationNumber.h"
#include "tax/SaleTaxRows.h"

#include <algorithm>

ReceiptTax::ReceiptTax(clsData *db, clsData *mst, qint32 regId)
{
    // A number set by other means than the settings dialog is printed only when it is one: an invoice with a
    // wrong number is worth nothing to the customer.
    const QString number = PrintCtrl::text(mst, QString::fromLatin1(RegistrationNumber::Key)).trimmed();
    if (RegistrationNumber::IsValid(number))
        m_registration = number;
    m_shopRate = PrintCtrl::money(mst, QStringLiteral("TAX_RT"));
    if (db)
        m_stored = SaleTaxRows::Load(*db, regId);
}

std::optional<Currency> ReceiptTax::rateOfLine(qint32 dtlNo) const
{
    return m_stored ? m_stored->rateOfLine(dtlNo) : std::optional<Currency>(m_shopRate);
}

QString ReceiptTax::mark(qint32 dtlNo) const
{
    if (!invoice())
        return QString();
    const std::optional<Currency> rate = rateOfLine(dtlNo);
    return rate && SaleTax::IsReduced(*rate) ? QString::fromUtf8(Mark) : QString();
}

QList<SaleTax::Rate> ReceiptTax::rates(Currency total) const
{
    if (!m_stored)
        return {{m_shopRate, total, SaleTax::Contained(total, m_shopRate)}};
    QList<SaleTax::Rate> highestFirst = m_stored->rates();
    std::reverse(highestFirst.begin(), highestFirst.end());
    return highestFirst;
}

bool ReceiptTax::marksReduced() const
{
    if (!invoice())
        return false;
    const QList<SaleTax::Rate> all = rates(Currency());
    return std::any_of(all.begin(), all.end(), [](const SaleTax::Rate &r) { return SaleTax::IsReduced(r.rate); });
}
