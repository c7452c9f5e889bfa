#pragma once

#include "base/Currency.h"

#include <QList>
#include <QMap>
#include <functional>
#include <optional>

// The consumption tax of one sale: the rate each line is charged at and, per rate, the total of its lines
// and the tax contained in that total. Prices include the tax, so the tax of a rate is
// total x rate / (1 + rate), truncated to whole yen once per rate and sale, never line by line; a line taken
// back lowers its rate's total before the tax is taken.
class SaleTax
{
public:
    struct Line
    {
        qint32 dtlNo = 0;
        qint32 prdId = 0;
        Currency amount;
    };
    struct Rate
    {
        Currency rate;   // a fraction: 0.08 for 8 %
        Currency amount; // total of the rate's lines, tax included
        Currency tax;    // tax contained in the amount, whole yen
    };

    // Rates below the standard rate are the reduced ones, which a receipt marks (food at 8 % against 10 %).
    static constexpr Currency StandardRate = Currency::fromRaw(Currency::Scale / 10);

    // The lines at the rates that rateOf gives for their products (lines numbered 0 are blank slots and left out).
    static SaleTax Split(const QList<Line> &lines, const std::function<Currency(qint32 prdId)> &rateOf);
    // As stored with the sale.
    void addRate(const Rate &rate);
    void setLineRate(qint32 dtlNo, Currency rate) { m_lineRates.insert(dtlNo, rate); }

    // By rate, lowest first.
    const QList<Rate> &rates() const { return m_rates; }
    const QMap<qint32, Currency> &lineRates() const { return m_lineRates; }
    // The rate of a line: as recorded, or the sale's only rate; nothing when neither tells.
    std::optional<Currency> rateOfLine(qint32 dtlNo) const;

    // The tax contained in a tax-inclusive amount, truncated toward zero to whole yen: the rate in percent
    // p, amount x p / (100 + p), taken to four decimals and then cut, as the receipt has always done.
    static Currency Contained(Currency amount, Currency rate);
    static bool IsReduced(Currency rate) { return rate > Currency() && rate < StandardRate; }
    // "8%", "10%"; a rate with a fraction of a percent as "8.5%".
    static QString PercentText(Currency rate);

private:
    QList<Rate> m_rates;
    QMap<qint32, Currency> m_lineRates;
};
