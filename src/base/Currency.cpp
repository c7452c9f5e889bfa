#include "base/Currency.h"
#include "base/Int128.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

using Wide = Int128;

int64_t narrowed(Wide value)
{
    if (value > std::numeric_limits<int64_t>::max() || value < std::numeric_limits<int64_t>::min())
        throw std::overflow_error("Currency overflow");
    return static_cast<int64_t>(value);
}

// numerator / denominator rounded half to even (denominator > 0).
Wide divideHalfEven(Wide numerator, Wide denominator)
{
    Wide quotient = numerator / denominator;
    Wide remainder = numerator % denominator;
    if (remainder < 0)
        remainder = -remainder;
    const Wide twice = remainder * 2;
    const bool negative = numerator < 0;
    if (twice > denominator || (twice == denominator && (quotient % 2 != 0)))
        quotient += negative ? -1 : 1;
    return quotient;
}

} // namespace

Currency Currency::fromInt(int64_t whole)
{
    return fromRaw(narrowed(Wide(whole) * Scale));
}

Currency Currency::fromDouble(double value)
{
    if (!std::isfinite(value))
        throw std::overflow_error("Currency overflow");
    // Through 15 significant digits, so 2.41 is 2.41 and not 2.4099999999999997.
    const auto parsed = parse(QString::number(value, 'g', 15));
    if (!parsed)
        throw std::overflow_error("Currency overflow");
    return *parsed;
}

std::optional<Currency> Currency::parse(const QString &text)
{
    const QString t = text.trimmed();
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        negative = t[i++] == u'-';
    Wide mantissa = 0;
    int fractionDigits = 0;
    bool seenPoint = false;
    bool anyDigit = false;
    int exponent = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            anyDigit = true;
            if (mantissa < Wide(1) << 100) {
                mantissa = mantissa * 10 + (c.unicode() - u'0');
                if (seenPoint)
                    ++fractionDigits;
            } else if (!seenPoint) {
                return std::nullopt; // far beyond the range
            }
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else if ((c == u'e' || c == u'E') && anyDigit) {
            bool ok = false;
            exponent = t.mid(i + 1).toInt(&ok);
            if (!ok || exponent > 30 || exponent < -30)
                return std::nullopt;
            break;
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    int shift = 4 - fractionDigits + exponent; // power of ten that scales the mantissa to raw units
    Wide raw = mantissa;
    if (shift >= 0) {
        for (int k = 0; k < shift; ++k) {
            raw *= 10;
            if (raw > Wide(std::numeric_limits<int64_t>::max()))
                return std::nullopt;
        }
    } else {
        Wide divisor = 1;
        for (int k = 0; k < -shift && k < 36; ++k)
            divisor *= 10;
        raw = divideHalfEven(raw, divisor);
    }
    if (negative)
        raw = -raw;
    if (raw > std::numeric_limits<int64_t>::max() || raw < std::numeric_limits<int64_t>::min())
        return std::nullopt;
    return fromRaw(static_cast<int64_t>(raw));
}

QString Currency::toPlainText() const
{
    const bool negative = m_raw < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - uint64_t(m_raw) : uint64_t(m_raw);
    QString text = QString::number(magnitude / Scale);
    uint64_t fraction = magnitude % Scale;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(4, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        text += u'.' + digits;
    }
    return negative ? u'-' + text : text;
}

Currency Currency::operator-() const
{
    return fromRaw(narrowed(-Wide(m_raw)));
}

Currency Currency::operator+(Currency other) const
{
    return fromRaw(narrowed(Wide(m_raw) + other.m_raw));
}

Currency Currency::operator-(Currency other) const
{
    return fromRaw(narrowed(Wide(m_raw) - other.m_raw));
}

Currency Currency::operator*(Currency other) const
{
    return fromRaw(narrowed(divideHalfEven(Wide(m_raw) * other.m_raw, Scale)));
}

Currency Currency::operator/(Currency other) const
{
    if (other.m_raw == 0)
        throw std::domain_error("Division by zero");
    Wide numerator = Wide(m_raw) * Scale;
    Wide denominator = other.m_raw;
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    return fromRaw(narrowed(divideHalfEven(numerator, denominator)));
}
