#pragma once

#include "base/Currency.h"

#include <QString>
#include <QVariant>
#include <variant>

// A value as the register's routines pass it around: database fields, control values, domain results.
// Empty (nothing there: a missing control value) and Null (a Null column) are different kinds.
class Variant
{
public:
    enum class Kind { Empty, Null, Boolean, Byte, Integer, Long, Currency, Single, Double, Date, String };

    Variant() = default;
    static Variant null();
    Variant(bool value);
    static Variant byte(quint8 value);
    static Variant integer(qint16 value);
    Variant(qint32 value);
    Variant(::Currency value);
    static Variant single(float value);
    Variant(double value);
    static Variant date(double value);
    Variant(const QString &value);
    Variant(const char *utf8) : Variant(QString::fromUtf8(utf8)) {}

    Kind kind() const { return m_kind; }
    bool isEmpty() const { return m_kind == Kind::Empty; }
    bool isNull() const { return m_kind == Kind::Null; }
    bool isNumeric() const;

    // Conversions as the register's routines expect them. Text converts by its numeric reading when it is a
    // number; a conversion that makes no sense (letters to a number, a Null to anything) throws ConversionError.
    // Empty converts to 0, False or "" as a missing value always did.
    bool toBool() const;
    qint32 toLong() const;        // rounds half to even
    ::Currency toCurrency() const;
    // A stored setting read leniently: Empty, Null and anything that is no amount (letters, too large) give 0,
    // so that a hand-edited value never stops a sale or a print.
    ::Currency toCurrencyOrZero() const;
    double toDouble() const;
    double toDate() const;
    QString toString() const;     // numbers as plain text, dates as "yyyy/mm/dd hh:nn:ss" (or the date alone)

    // A field value from the SQL drivers: null becomes Null, integers Long (Double when beyond 32 bits),
    // QDate/QDateTime a Date, text String.
    static Variant fromQVariant(const QVariant &value);

    friend bool operator==(const Variant &a, const Variant &b);

private:
    Kind m_kind = Kind::Empty;
    std::variant<std::monostate, bool, qint64, ::Currency, double, QString> m_value;
};

class ConversionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The default when the value is Null, else the value.
Variant Nz(const Variant &value, const Variant &defaultValue = Variant());

// The leading number of a text, blanks ignored ("12abc" is 12, "abc" is 0, " 1 2" is 12).
double Val(const QString &text);
