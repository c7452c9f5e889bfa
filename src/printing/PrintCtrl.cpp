#include "printing/PrintCtrl.h"

#include "data/clsData.h"

namespace PrintCtrl {
namespace {

Variant read(clsData *data, const QString &key)
{
    return data ? data->GetCtrl(key) : Variant();
}

} // namespace

double number(clsData *data, const QString &key)
{
    const Variant v = read(data, key);
    if (v.isEmpty() || v.isNull())
        return 0;
    if (v.kind() == Variant::Kind::String)
        return Val(v.toString());
    try {
        return v.toDouble();
    } catch (const ConversionError &) {
        return 0;
    }
}

bool isTrue(clsData *data, const QString &key)
{
    const Variant v = read(data, key);
    if (v.isEmpty() || v.isNull())
        return false;
    if (v.kind() == Variant::Kind::String) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        return Val(t) != 0;
    }
    try {
        return v.toBool();
    } catch (const ConversionError &) {
        return false;
    }
}

QString text(clsData *data, const QString &key)
{
    const Variant v = read(data, key);
    if (v.isEmpty() || v.isNull())
        return {};
    try {
        return v.toString();
    } catch (const ConversionError &) {
        return {};
    }
}

Currency money(clsData *data, const QString &key)
{
    return read(data, key).toCurrencyOrZero();
}

} // namespace PrintCtrl
