#include "settings/SettingValues.h"

#include "base/Common.h"
#include "base/Format.h"
#include "base/Variant.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Transaction.h"
#include "data/clsData.h"

#include <QRegularExpression>
#include <stdexcept>

namespace SettingValues {

namespace {

constexpr int64_t TwipsPerCentimetre = 567;

// Integer division rounding half away from zero.
int64_t roundedQuotient(int64_t numerator, int64_t denominator)
{
    const int64_t q = numerator / denominator;
    const int64_t r = numerator % denominator;
    if (2 * (r < 0 ? -r : r) >= denominator)
        return numerator < 0 ? q - 1 : q + 1;
    return q;
}

Currency numericReading(const QString &text)
{
    return Currency::fromDouble(Val(text));
}

} // namespace

QString MarginForDisplay(const QString &storedTwips)
{
    if (storedTwips.isEmpty())
        return QString();
    // twips / 567 in hundredths is raw / (10000 / 100 * 567): exact, so 1.005 cm is never read as 1.00499.
    const int64_t hundredths = roundedQuotient(numericReading(storedTwips).raw(), Currency::Scale / 100 * TwipsPerCentimetre);
    return Format::number(Currency::fromRaw(hundredths * (Currency::Scale / 100)), QStringLiteral("0.00"));
}

QString MarginForStore(const QString &typedCentimetres)
{
    if (typedCentimetres.isEmpty())
        return QString();
    return (numericReading(typedCentimetres) * Currency::fromInt(TwipsPerCentimetre)).toPlainText();
}

QString RateForDisplay(const QString &storedFraction)
{
    if (storedFraction.isEmpty())
        return QString();
    return Format::number(numericReading(storedFraction) * Currency::fromInt(100), QStringLiteral("0.0"));
}

QString RateForStore(const QString &typedPercent)
{
    if (typedPercent.isEmpty())
        return QString();
    // percent / 100 at two decimals is the percent rounded to a whole number, in hundredths.
    const int64_t hundredths = roundedQuotient(numericReading(typedPercent).raw(), Currency::Scale);
    return Currency::fromRaw(hundredths * (Currency::Scale / 100)).toPlainText();
}

bool IsPercent(const QString &typed)
{
    static const QRegularExpression number(QStringLiteral(R"(^\d{1,3}(\.\d+)?\s*%?$)"));
    return number.match(typed).hasMatch() && Val(typed) <= 100;
}

Currency CommissionRate(clsData &master)
{
    const Variant v = master.GetCtrl(QStringLiteral("FEE_RT"));
    if (v.isNull() || v.isEmpty() || (v.kind() == Variant::Kind::String && v.toString().trimmed().isEmpty()))
        return Currency::fromRaw(Currency::Scale * 15 / 100);
    return v.isNumeric() ? v.toCurrency() : numericReading(v.toString());
}

Currency ChangeFundTotal(const QStringList &counts)
{
    Currency total;
    for (int i = 0; i < 10 && i < counts.size(); ++i)
        total += numericReading(counts[i]) * Currency::fromInt(Denominations[i]);
    return total;
}

qint64 LargestRegId(clsData &db)
{
    Variant largest = db.DMax(QStringLiteral("REG_ID"), QStringLiteral("D_REG"));
    if (largest.isNull())
        largest = db.DMax(QStringLiteral("REG_ID"), QStringLiteral("B_REG"));
    if (largest.isNull())
        return 0;
    return largest.toCurrency().wholePart();
}

QString CtrlText(clsData &data, const QString &key)
{
    const Variant value = data.GetCtrl(key);
    return value.isNull() || value.isEmpty() ? QString() : value.toString();
}

bool SaveCtrlValues(clsData &data, const QList<std::pair<QString, QString>> &values)
{
    // Inside a transaction someone else began, that one carries the keys; without any transaction a
    // failure half-way would leave the dialog's keys half-written, so the save does not start.
    std::unique_ptr<Transaction> transaction;
    try {
        transaction = std::make_unique<Transaction>(data, Transaction::Scope::JoinOpen);
    } catch (const std::exception &e) {
        WriteLog(QStringLiteral("設定の登録を開始できません: ") + QString::fromStdString(e.what()));
        return false;
    }
    try {
        for (const auto &[key, value] : values) {
            // SaveCtrl has shown its own message; the remaining keys must not be written without it.
            if (!data.SaveCtrl(key, Variant(value)))
                throw DbError(QStringLiteral("%1 を登録できませんでした。").arg(key));
        }
        transaction->commit();
        return true;
    } catch (const std::exception &e) {
        WriteLog(QStringLiteral("設定の登録に失敗しました: ") + QString::fromStdString(e.what()));
        return false;
    }
}

} // namespace SettingValues
