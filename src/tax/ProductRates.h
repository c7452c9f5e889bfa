#pragma once

#include "base/Currency.h"

#include <QHash>
#include <QList>
#include <QString>

class clsData;

// The rates products are charged at: the shop's rate (TAX_RT of the master database, missing or unreadable
// counting as 0, as the receipt has always read it), and for a product charged at another rate its own
// rate in M_PRD_TAX (flowers at 10 % in a shop whose food is at 8 %). A master made before M_PRD_TAX reads
// as having no own rates.
class ProductRates
{
public:
    static const QString Table; // M_PRD_TAX

    // The shop's rate and the own rates of the given products.
    static ProductRates Load(clsData &mst, const QList<qint32> &products);
    static Currency ShopRate(clsData &mst);

    Currency shopRate() const { return m_shopRate; }
    Currency of(qint32 prdId) const { return m_own.value(prdId, m_shopRate); }

    // A product as the settings menu lists it: the products of the product master and of the barcode
    // master, and any product with an own rate, by number; names from the product master, else the first
    // name of its barcodes.
    struct Row
    {
        qint32 prdId = 0;
        QString name;
        Currency rate;
        bool own = false; // its own rate, not the shop's
    };
    static QList<Row> List(clsData &mst);

private:
    Currency m_shopRate;
    QHash<qint32, Currency> m_own;
};
