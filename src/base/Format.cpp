#include "base/Format.h"

#include "base/DateValue.h"
#include "base/Int128.h"

#include <QDate>

namespace {

// value rounded half away from zero to `decimals` places, as whole units of 10^-decimals.
Int128 roundedScaled(Currency value, int decimals)
{
    Int128 raw = value.raw();
    if (decimals >= 4) {
        for (int k = 4; k < decimals; ++k)
            raw *= 10;
        return raw;
    }
    Int128 divisor = 1;
    for (int k = decimals; k < 4; ++k)
        divisor *= 10;
    const bool negative = raw < 0;
    Int128 magnitude = negative ? -raw : raw;
    magnitude = (magnitude + divisor / 2) / divisor;
    return negative ? -magnitude : magnitude;
}

QString digitsOf(Int128 magnitude)
{
    if (magnitude == 0)
        return QStringLiteral("0");
    QString text;
    while (magnitude > 0) {
        text.prepend(QChar(u'0' + int(magnitude % 10)));
        magnitude /= 10;
    }
    return text;
}

QString grouped(const QString &digits)
{
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u',';
        out += digits[i];
    }
    return out;
}

bool isNumberPatternChar(QChar c)
{
    return c == u'#' || c == u'0' || c == u'.' || c == u',';
}

const QString kWeekdays[] = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
                             QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土")};

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, u'0');
}

} // namespace

namespace Format {

QString number(Currency value, const QString &pattern)
{
    int first = -1, last = -1;
    for (int i = 0; i < pattern.size(); ++i) {
        if (isNumberPatternChar(pattern[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return pattern;
    const QString prefix = pattern.left(first);
    const QString suffix = pattern.mid(last + 1);
    const QString body = pattern.mid(first, last - first + 1);

    const int point = body.indexOf(u'.');
    const QString wholePart = point < 0 ? body : body.left(point);
    const QString fractionPart = point < 0 ? QString() : body.mid(point + 1);
    const int decimals = int(fractionPart.count(u'0') + fractionPart.count(u'#'));
    const int minWholeDigits = int(wholePart.count(u'0'));
    const bool grouping = wholePart.contains(u',');

    const Int128 scaled = roundedScaled(value, decimals);
    const bool negative = scaled < 0;
    const Int128 magnitude = negative ? -scaled : scaled;
    Int128 divisor = 1;
    for (int k = 0; k < decimals; ++k)
        divisor *= 10;

    QString whole = digitsOf(magnitude / divisor);
    if (whole == u"0" && minWholeDigits == 0)
        whole.clear();
    else
        whole = whole.rightJustified(minWholeDigits, u'0');
    if (grouping)
        whole = grouped(whole);

    QString text = whole;
    if (point >= 0) {
        QString fraction = decimals > 0 ? digitsOf(magnitude % divisor).rightJustified(decimals, u'0') : QString();
        // Optional places ("#") drop their trailing zeros.
        int optional = int(fractionPart.count(u'#'));
        while (optional-- > 0 && fraction.endsWith(u'0'))
            fraction.chop(1);
        text += u'.' + fraction;
    }
    return prefix + (negative && magnitude != 0 ? QStringLiteral("-") : QString()) + text + suffix;
}

Era eraOf(const QDate &d)
{
    struct Start { QDate from; const char16_t *name; const char16_t *letter; };
    static const Start starts[] = {
        {QDate(2019, 5, 1), u"令和", u"R"},
        {QDate(1989, 1, 8), u"平成", u"H"},
        {QDate(1926, 12, 25), u"昭和", u"S"},
        {QDate(1912, 7, 30), u"大正", u"T"},
        {QDate(1868, 1, 1), u"明治", u"M"},
    };
    for (const Start &s : starts) {
        if (d >= s.from)
            return {QString::fromUtf16(s.name), QString::fromUtf16(s.letter), d.year() - s.from.year() + 1};
    }
    return {QString(), QString(), d.year()};
}

QString date(double value, const QString &pattern)
{
    const QDateTime dt = DateValue::toQDateTime(value);
    const QDate d = dt.date();
    const QTime t = dt.time();
    QString out;
    bool afterHour = false;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        int run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == c.toLower())
            ++run;
        const QChar lc = c.toLower();
        if (c == u'"') {
            const int end = pattern.indexOf(u'"', i + 1);
            const int stop = end < 0 ? int(pattern.size()) : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (c == u'\\' && i + 1 < pattern.size()) {
            out += pattern[i + 1];
            i += 2;
            continue;
        }
        bool hour = false;
        if (lc == u'y') {
            out += run >= 3 ? QString::number(d.year()) : twoDigits(d.year() % 100);
        } else if (lc == u'm') {
            const int n = afterHour ? t.minute() : d.month();
            out += run >= 2 ? twoDigits(n) : QString::number(n);
        } else if (lc == u'd') {
            out += run >= 2 ? twoDigits(d.day()) : QString::number(d.day());
        } else if (lc == u'h') {
            out += run >= 2 ? twoDigits(t.hour()) : QString::number(t.hour());
            hour = true;
        } else if (lc == u'n') {
            out += run >= 2 ? twoDigits(t.minute()) : QString::number(t.minute());
        } else if (lc == u's') {
            out += run >= 2 ? twoDigits(t.second()) : QString::number(t.second());
        } else if (lc == u'a') {
            const QString &name = kWeekdays[DateValue::weekday(value) - 1];
            out += run >= 4 ? name + QStringLiteral("曜日") : name;
        } else if (lc == u'g') {
            const Era era = eraOf(d);
            out += run >= 3 ? era.name : run == 2 ? era.name.left(1) : era.letter;
        } else if (lc == u'e') {
            const Era era = eraOf(d);
            out += run >= 2 ? twoDigits(era.year) : QString::number(era.year);
        } else {
            out += pattern.mid(i, run);
            i += run;
            continue; // literals do not end an hour's influence on a following "m"
        }
        afterHour = hour;
        i += run;
    }
    return out;
}

QString value(const Variant &v, const QString &pattern)
{
    if (v.isNull() || v.isEmpty())
        return QString();
    if (v.kind() == Variant::Kind::Date)
        return date(v.toDate(), pattern);
    if (v.kind() == Variant::Kind::String && !v.isNumeric())
        return v.toString();
    return number(v.toCurrency(), pattern);
}

} // namespace Format
