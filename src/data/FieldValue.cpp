#include "data/FieldValue.h"

#include "base/DateValue.h"
#include "data/Schema.h"

#include <QSqlField>

namespace {

bool isNumericField(const QSqlField &field)
{
    switch (field.metaType().id()) {
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Int: case QMetaType::LongLong:
    case QMetaType::UInt: case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

Variant moneyValue(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::ULongLong:
        return Variant(Currency::fromInt(v.toLongLong()));
    case QMetaType::Double: case QMetaType::Float:
        return Variant(Currency::fromDouble(v.toDouble()));
    default:
        if (auto c = Currency::parse(v.toString()))
            return Variant(*c);
        return Variant::fromQVariant(v);
    }
}

Variant dateValue(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString) {
        if (auto d = DateValue::parse(v.toString()))
            return Variant::date(*d);
    }
    return Variant::fromQVariant(v);
}

} // namespace

Variant FieldValue(const QSqlField &field, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return Variant::null();
    // A text from the server arrives as its UTF-8 bytes (see Connection::startSession); no table holds binary data.
    if (v.typeId() == QMetaType::QByteArray)
        return FieldValue(field, QVariant(QString::fromUtf8(v.toByteArray())));
    if (const auto type = Schema::fieldType(field.name())) {
        switch (*type) {
        case Schema::Type::Money: return moneyValue(v);
        case Schema::Type::Date: return dateValue(v);
        case Schema::Type::Integer: {
            const Variant n = Variant::fromQVariant(v);
            return n.kind() == Variant::Kind::String ? Variant(qint32(v.toLongLong())) : n;
        }
        case Schema::Type::Text: return Variant(v.toString());
        }
    }
    // Exact decimals from the server arrive as text in a numeric field.
    if (v.typeId() == QMetaType::QString && isNumericField(field)) {
        if (auto c = Currency::parse(v.toString()))
            return Variant(*c);
        return Variant(v.toDouble());
    }
    return Variant::fromQVariant(v);
}
