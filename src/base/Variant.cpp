#include "base/Variant.h"

#include "base/DateValue.h"

#include <QDateTime>
#include <cmath>
#include <limits>

namespace {

// Half-to-even rounding to a whole number, as integer conversions always round.
double roundHalfEven(double value)
{
    return std::nearbyint(value); // the default floating-point environment rounds to nearest even
}

QString dateText(double value)
{
    const QDateTime dt = DateValue::toQDateTime(value);
    if (dt.time() == QTime(0, 0))
        return dt.toString(QStringLiteral("yyyy/MM/dd"));
    return dt.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

bool parseNumber(const QString &text, double &out)
{
    bool ok = false;
    const QString t = text.trimmed();
    out = t.toDouble(&ok);
    if (!ok) {
        QString ungrouped = t;
        ungrouped.remove(u',');
        out = ungrouped.toDouble(&ok);
    }
    return ok && !t.isEmpty();
}

} // namespace

Variant Variant::null()
{
    Variant v;
    v.m_kind = Kind::Null;
    return v;
}

Variant::Variant(bool value) : m_kind(Kind::Boolean), m_value(value) {}

Variant Variant::byte(quint8 value)
{
    Variant v{qint32(value)};
    v.m_kind = Kind::Byte;
    return v;
}

Variant Variant::integer(qint16 value)
{
    Variant v{qint32(value)};
    v.m_kind = Kind::Integer;
    return v;
}

Variant::Variant(qint32 value) : m_kind(Kind::Long), m_value(qint64(value)) {}

Variant::Variant(::Currency value) : m_kind(Kind::Currency), m_value(value) {}

Variant Variant::single(float value)
{
    Variant v{double(value)};
    v.m_kind = Kind::Single;
    return v;
}

Variant::Variant(double value) : m_kind(Kind::Double), m_value(value) {}

Variant Variant::date(double value)
{
    Variant v(value);
    v.m_kind = Kind::Date;
    return v;
}

Variant::Variant(const QString &value) : m_kind(Kind::String), m_value(value) {}

bool Variant::isNumeric() const
{
    switch (m_kind) {
    case Kind::Boolean: case Kind::Byte: case Kind::Integer: case Kind::Long:
    case Kind::Currency: case Kind::Single: case Kind::Double:
        return true;
    case Kind::String: {
        double ignored;
        return parseNumber(std::get<QString>(m_value), ignored);
    }
    default:
        return false;
    }
}

bool Variant::toBool() const
{
    switch (m_kind) {
    case Kind::Empty:
        return false;
    case Kind::Boolean:
        return std::get<bool>(m_value);
    case Kind::String: {
        const QString t = std::get<QString>(m_value).trimmed();
        if (t.compare(u"True", Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(u"False", Qt::CaseInsensitive) == 0)
            return false;
        double number;
        if (parseNumber(t, number))
            return number != 0;
        throw ConversionError("Type mismatch");
    }
    default:
        return toDouble() != 0;
    }
}

qint32 Variant::toLong() const
{
    if (m_kind == Kind::Currency) {
        const ::Currency c = std::get<::Currency>(m_value);
        const double rounded = roundHalfEven(c.toDouble()); // exact for whole-yen magnitudes
        if (rounded > std::numeric_limits<qint32>::max() || rounded < std::numeric_limits<qint32>::min())
            throw ConversionError("Overflow");
        return qint32(rounded);
    }
    const double rounded = roundHalfEven(toDouble());
    if (rounded > std::numeric_limits<qint32>::max() || rounded < std::numeric_limits<qint32>::min())
        throw ConversionError("Overflow");
    return qint32(rounded);
}

::Currency Variant::toCurrency() const
{
    switch (m_kind) {
    case Kind::Currency:
        return std::get<::Currency>(m_value);
    case Kind::Byte: case Kind::Integer: case Kind::Long:
        return ::Currency::fromInt(std::get<qint64>(m_value));
    case Kind::String: {
        QString t = std::get<QString>(m_value).trimmed();
        t.remove(u',');
        if (auto c = ::Currency::parse(t))
            return *c;
        throw ConversionError("Type mismatch");
    }
    default:
        try {
            return ::Currency::fromDouble(toDouble());
        } catch (const std::overflow_error &) {
            throw ConversionError("Overflow");
        }
    }
}

::Currency Variant::toCurrencyOrZero() const
{
    if (m_kind == Kind::Empty || m_kind == Kind::Null)
        return {};
    try {
        return toCurrency();
    } catch (const std::exception &) {
        return {};
    }
}

double Variant::toDouble() const
{
    switch (m_kind) {
    case Kind::Empty:
        return 0;
    case Kind::Null:
        throw ConversionError("Invalid use of Null");
    case Kind::Boolean:
        return std::get<bool>(m_value) ? -1 : 0;
    case Kind::Byte: case Kind::Integer: case Kind::Long:
        return double(std::get<qint64>(m_value));
    case Kind::Currency:
        return std::get<::Currency>(m_value).toDouble();
    case Kind::Single: case Kind::Double: case Kind::Date:
        return std::get<double>(m_value);
    case Kind::String: {
        double number;
        if (parseNumber(std::get<QString>(m_value), number))
            return number;
        if (auto d = DateValue::parse(std::get<QString>(m_value)))
            return *d;
        throw ConversionError("Type mismatch");
    }
    }
    return 0;
}

double Variant::toDate() const
{
    if (m_kind == Kind::String) {
        if (auto d = DateValue::parse(std::get<QString>(m_value)))
            return *d;
        throw ConversionError("Type mismatch");
    }
    return toDouble();
}

QString Variant::toString() const
{
    switch (m_kind) {
    case Kind::Empty:
        return QString();
    case Kind::Null:
        throw ConversionError("Invalid use of Null");
    case Kind::Boolean:
        return std::get<bool>(m_value) ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Byte: case Kind::Integer: case Kind::Long:
        return QString::number(std::get<qint64>(m_value));
    case Kind::Currency:
        return std::get<::Currency>(m_value).toPlainText();
    case Kind::Single:
        return QString::number(std::get<double>(m_value), 'g', 7);
    case Kind::Double:
        return QString::number(std::get<double>(m_value), 'g', 15);
    case Kind::Date:
        return dateText(std::get<double>(m_value));
    case Kind::String:
        return std::get<QString>(m_value);
    }
    return QString();
}

Variant Variant::fromQVariant(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return null();
    switch (value.typeId()) {
    case QMetaType::Bool:
        return Variant(value.toBool());
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Char: case QMetaType::UChar: case QMetaType::SChar:
        return Variant(qint32(value.toInt()));
    case QMetaType::LongLong: case QMetaType::ULongLong: case QMetaType::Long: case QMetaType::ULong: {
        const qint64 n = value.toLongLong();
        if (n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max())
            return Variant(qint32(n));
        return Variant(double(n));
    }
    case QMetaType::Float:
        return single(value.toFloat());
    case QMetaType::Double:
        return Variant(value.toDouble());
    case QMetaType::QDate:
        return date(DateValue::fromQDate(value.toDate()));
    case QMetaType::QDateTime:
        return date(DateValue::fromQDateTime(value.toDateTime()));
    case QMetaType::QByteArray:
        return Variant(QString::fromUtf8(value.toByteArray()));
    default:
        return Variant(value.toString());
    }
}

bool operator==(const Variant &a, const Variant &b)
{
    return a.m_kind == b.m_kind && a.m_value == b.m_value;
}

Variant Nz(const Variant &value, const Variant &defaultValue)
{
    return value.isNull() ? defaultValue : value;
}

double Val(const QString &text)
{
    QString digits;
    bool seenPoint = false;
    bool seenExponent = false;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        const bool atStart = digits.isEmpty();
        const bool afterExponent = !digits.isEmpty() && (digits.back() == u'E');
        if (c.unicode() < 128 && c.isDigit()) {
            digits += c;
        } else if ((c == u'-' || c == u'+') && (atStart || afterExponent)) {
            digits += c;
        } else if (c == u'.' && !seenPoint && !seenExponent) {
            seenPoint = true;
            digits += c;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && !seenExponent && !atStart) {
            seenExponent = true;
            digits += u'E';
        } else {
            break;
        }
    }
    // Drop an unfinished tail ("12E", "1.", "-") the way the leading-number reading ignores it.
    while (!digits.isEmpty()) {
        bool ok = false;
        const double v = digits.toDouble(&ok);
        if (ok)
            return v;
        digits.chop(1);
    }
    return 0;
}
