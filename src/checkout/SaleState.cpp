#include "checkout/SaleState.h"

#include <QRegularExpression>
#include <stdexcept>

QList<RegRec> gReg{RegRec()};
QList<DtlRec> gDtl{DtlRec()};
qint16 gDtlIdx = 0;

const QString SaleState::TooLargeMessage = QStringLiteral("金額が大きすぎます。数量と単価を確かめてください。");

namespace {

// The line amount, or nothing when it leaves the range of money.
std::optional<Currency> amountOf(Currency price, Currency quantity)
{
    try {
        return price * quantity;
    } catch (const std::overflow_error &) {
        return std::nullopt;
    }
}

// The total of the slots, or nothing when it, or the change of any amount that can be tendered, leaves
// the range of money.
std::optional<Currency> totalOf(const QList<DtlRec> &slotList)
{
    try {
        Currency sum;
        for (const DtlRec &d : slotList)
            sum += d.AMT;
        (void)(Currency::fromInt(99999) - sum);
        return sum;
    } catch (const std::overflow_error &) {
        return std::nullopt;
    }
}

} // namespace

SaleState::SaleState(QList<RegRec> &reg, QList<DtlRec> &dtl) : m_reg(reg), m_dtl(dtl)
{
    next();
}

void SaleState::clear()
{
    next();
    m_changeShown.reset();
}

void SaleState::next()
{
    m_reg = {RegRec()};
    m_dtl = {DtlRec()};
    resetMultiplier();
    m_mode = ScanMode;
    m_tendered.clear();
}

void SaleState::increase()
{
    const Currency one = Currency::fromInt(1);
    m_multiplier = m_multiplier == -one ? one : m_multiplier + one;
}

void SaleState::decrease()
{
    const Currency one = Currency::fromInt(1);
    m_multiplier = m_multiplier == one ? -one : m_multiplier - one;
}

SaleState::Edit SaleState::commit(const QList<DtlRec> &changed)
{
    const std::optional<Currency> total = totalOf(changed);
    if (!total)
        return Edit::TooLarge;
    m_dtl = changed;
    if (*total == header().AMT_SUM)
        return Edit::Done;
    header().AMT_SUM = *total;
    // The tender was for the old total: during payment it is typed again, else it is gone.
    if (m_mode == ScanMode) {
        m_changeShown.reset();
        header().RCV = Currency();
        header().CHG = Currency();
    } else {
        setMode(TenderMode);
    }
    return Edit::Done;
}

SaleState::Edit SaleState::addLine()
{
    QList<DtlRec> changed = m_dtl;
    DtlRec &d = changed.last();
    const std::optional<Currency> amount = amountOf(d.PRC, m_multiplier);
    if (!amount)
        return Edit::TooLarge;
    d.DTL_NO = lineCount() + 1;
    d.QTY = m_multiplier;
    d.AMT = *amount;
    changed.append(DtlRec());
    const Edit result = commit(changed);
    if (result == Edit::Done) {
        header().DTL_CNT = lineCount();
        resetMultiplier();
    }
    return result;
}

SaleState::Edit SaleState::deleteLine(int index)
{
    if (index < 0 || index >= lineCount())
        return Edit::Done;
    QList<DtlRec> changed = m_dtl;
    changed.removeAt(index);
    for (int i = index; i < changed.size(); ++i) {
        if (changed[i].DTL_NO != 0)
            changed[i].DTL_NO = i + 1;
    }
    return commit(changed);
}

SaleState::Edit SaleState::setQuantity(int index, const QString &typed)
{
    const std::optional<Currency> quantity = typedNumber(typed);
    if (!quantity)
        return Edit::NotANumber;
    QList<DtlRec> changed = m_dtl;
    DtlRec &d = changed[index];
    const std::optional<Currency> amount = amountOf(d.PRC, *quantity);
    if (!amount)
        return Edit::TooLarge;
    d.QTY = *quantity;
    d.AMT = *amount;
    return commit(changed);
}

SaleState::Edit SaleState::setPrice(int index, const QString &typed)
{
    const std::optional<Currency> price = typedNumber(typed);
    if (!price)
        return Edit::NotANumber;
    QList<DtlRec> changed = m_dtl;
    DtlRec &d = changed[index];
    const std::optional<Currency> amount = amountOf(*price, d.QTY);
    std::optional<Currency> difference;
    try {
        difference = d.O_PRC - *price;
    } catch (const std::overflow_error &) {
    }
    if (!amount || !difference)
        return Edit::TooLarge;
    d.PRC = *price;
    d.D_PRC = *difference;
    d.AMT = *amount;
    return commit(changed);
}

std::optional<Currency> SaleState::typedNumber(const QString &typed)
{
    // Full-width digits, signs, commas and points from the input method become their plain forms.
    QString t = typed.normalized(QString::NormalizationForm_KC).trimmed();
    // The minus sign, and the long vowel mark that the minus key types in kana input.
    if (!t.isEmpty() && (t[0] == QChar(0x2212) || t[0] == QChar(0x30FC)))
        t[0] = u'-';
    if (t.isEmpty())
        return Currency();
    if (t.contains(u',')) {
        // Commas only as thousands separators: "1,000" and "-12,345.5", never "1,00".
        static const QRegularExpression grouped(QStringLiteral(R"(^[-+]?\d{1,3}(,\d{3})+(\.\d*)?$)"));
        if (!grouped.match(t).hasMatch())
            return std::nullopt;
        t.remove(u',');
    }
    return Currency::parse(t);
}

void SaleState::setMode(Mode mode)
{
    m_mode = mode;
    if (mode == TenderMode) {
        m_tendered.clear();
        computeChange();
    }
}

void SaleState::typeTender(QChar digit)
{
    if (m_mode == TenderMode)
        m_tendered += digit;
}

SaleState::Tender SaleState::confirmTender()
{
    if (m_tendered.size() > TenderDigits)
        return Tender::TooLong;
    if (m_tendered.isEmpty())
        return Tender::Nothing;
    computeChange();
    m_mode = ChangeMode;
    return Tender::Shown;
}

void SaleState::computeChange()
{
    RegRec &r = header();
    r.RCV = m_tendered.isEmpty() ? Currency() : Currency::parse(m_tendered).value_or(Currency());
    r.CHG = r.RCV - r.AMT_SUM;
    m_changeShown = r.CHG;
}

bool SaleState::ChkData() const
{
    return !(total() > Currency() && header().CHG < Currency());
}
