#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Money, prices, quantities and rates: a 64-bit integer scaled by 10,000 (four decimal places).
// Arithmetic is exact; a product or quotient is rounded half to even to four decimals, as the register's
// currency type always did, and an overflow throws instead of wrapping.
class Currency
{
public:
    static constexpr int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(int64_t raw) { Currency c; c.m_raw = raw; return c; }
    static Currency fromInt(int64_t whole);
    // Nearest currency value, half to even at the fifth decimal; throws std::overflow_error when out of range.
    static Currency fromDouble(double value);
    // Reads plain decimal text ("1200", "-1234.5", "0.08", " 12 "); std::nullopt when it is not a number.
    // More than four decimals round half to even.
    static std::optional<Currency> parse(const QString &text);

    constexpr int64_t raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / Scale; }
    // Whole part, truncated toward zero.
    int64_t wholePart() const { return m_raw / Scale; }
    bool isWhole() const { return m_raw % Scale == 0; }

    // Plain decimal text without grouping or trailing zeros: 1200, 1234.5, -0.08.
    QString toPlainText() const;

    Currency operator-() const;
    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency operator*(Currency other) const;
    Currency operator/(Currency other) const;
    Currency &operator+=(Currency other) { return *this = *this + other; }
    Currency &operator-=(Currency other) { return *this = *this - other; }

    friend constexpr bool operator==(Currency a, Currency b) { return a.m_raw == b.m_raw; }
    friend constexpr auto operator<=>(Currency a, Currency b) { return a.m_raw <=> b.m_raw; }

private:
    int64_t m_raw = 0;
};
