#include "tax/SaleTax.h"

#include <algorithm>

SaleTax SaleTax::Split(const QList<Line> &lines, const std::function<Currency(qint32 prdId)> &rateOf)
{
    SaleTax tax;
    QMap<Currency, Currency> totals;
    for (const Line &line : lines) {
        if (line.dtlNo == 0)
            continue;
        const Currency rate = rateOf(line.prdId);
        tax.m_lineRates.insert(line.dtlNo, rate);
        totals[rate] += line.amount;
    }
    for (auto it = totals.cbegin(); it != totals.cend(); ++it)
        tax.m_rates.append({it.key(), it.value(), Contained(it.value(), it.key())});
    return tax;
}

void SaleTax::addRate(const Rate &rate)
{
    const auto at = std::lower_bound(m_rates.begin(), m_rates.end(), rate.rate,
                                     [](const Rate &r, Currency value) { return r.rate < value; });
    m_rates.insert(at, rate);
}

std::optional<Currency> SaleTax::rateOfLine(qint32 dtlNo) const
{
    const auto it = m_lineRates.constFind(dtlNo);
    if (it != m_lineRates.cend())
        return *it;
    if (m_rates.size() == 1)
        return m_rates.first().rate;
    return std::nullopt;
}

Currency SaleTax::Contained(Currency amount, Currency rate)
{
    const Currency hundred = Currency::fromInt(100);
    const Currency percent = rate * hundred;
    return Currency::fromInt((amount * percent / (hundred + percent)).wholePart());
}

QString SaleTax::PercentText(Currency rate)
{
    return (rate * Currency::fromInt(100)).toPlainText() + u'%';
}
