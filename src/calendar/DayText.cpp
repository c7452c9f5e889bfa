#include "calendar/DayText.h"

#include "base/Format.h"
#include "calendar/DayInfo.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Recordset.h"
#include "data/Sql.h"
#include "data/clsMst.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

namespace {

class SystemRandom : public RandomSource
{
public:
    // The system generator is seeded from the operating system's entropy, so every run draws differently.
    double next() override { return QRandomGenerator::global()->generateDouble(); }
};

SystemRandom g_systemRandom;
RandomSource *g_random = nullptr;

// Int(count × r) for r in [0, 1): an index 0..count-1. A source that strays outside [0, 1) still gives an
// index in range.
int drawIndex(int count)
{
    const double r = RandomSource::instance().next();
    const double k = std::floor(count * r);
    if (!(k >= 0)) // also NaN
        return 0;
    return int(std::min(k, double(count - 1)));
}

QString textOf(const Variant &value)
{
    return Nz(value, Variant(QString())).toString();
}

// The master database, which the program opened at start.
clsMst &master()
{
    if (!gMst)
        throw DbError(QStringLiteral("データベースに接続されていません。"));
    return *gMst;
}

} // namespace

RandomSource &RandomSource::instance()
{
    return g_random ? *g_random : static_cast<RandomSource &>(g_systemRandom);
}

void RandomSource::install(RandomSource *source)
{
    g_random = source;
}

QString RokuyoName(int index)
{
    static const char16_t *const names[6] = {u"大安", u"赤口", u"先勝", u"友引", u"先負", u"仏滅"};
    if (index < 0 || index > 5)
        return QString();
    return QString::fromUtf16(names[index]);
}

QString OldCalText(double date)
{
    return OldCalText(CalcOldCal(date));
}

QString OldCalText(const OldCalDate &lunar)
{
    return QStringLiteral("旧") + (lunar.leap ? QStringLiteral("閏") : QString()) + QString::number(lunar.month)
        + u'/' + QString::number(lunar.day);
}

QString GetEto(double date)
{
    // The name is an ornament of the receipt: whatever goes wrong, the sale prints without it.
    try {
        const Variant name = master().DLookup(QStringLiteral("ETO_YM"), QStringLiteral("L_ETO"),
                                              QStringLiteral("ID=") + QString::number(EtoNo(date)));
        if (name.isNull() || name.isEmpty())
            return QString();
        return name.toString();
    } catch (...) {
        return QString();
    }
}

QString TodayText(double date)
{
    return TodayText(CalcOldCal(date), GetEto(date));
}

QString TodayText(const OldCalDate &lunar, const QString &etoName)
{
    return QStringLiteral("今日は") + OldCalText(lunar) + u' ' + etoName + u' ' + RokuyoName(RokuyoNo(lunar))
        + QStringLiteral(" です");
}

void GetFlower(double date, QString &flowerLine, QString &wordLine)
{
    // Month and day as the number MD holds: 0104 reads as 104.
    Recordset rs = master().GetStaticRst(
        Sql(R"(SELECT * FROM L_FWD WHERE MD=:md)").raw("md", Format::date(date, QStringLiteral("mmdd"))));
    QString name;
    QString word;
    if (!rs.EOF_()) {
        // Several rows may share a day: one of them at random.
        const int skip = drawIndex(rs.RecordCount());
        for (int k = 0; k < skip; ++k)
            rs.MoveNext();
        name = textOf(rs.Fields(QStringLiteral("NM")));
        if (!name.isEmpty()) {
            // The word is drawn among the non-empty columns only, each as likely as the others. A row whose
            // words are all empty gets no word instead of drawing for ever.
            QStringList words;
            for (int j = 1; j <= 9; ++j) {
                const QString w = textOf(rs.Fields(QStringLiteral("WD%1").arg(j)));
                if (!w.isEmpty())
                    words.append(w);
            }
            if (!words.isEmpty())
                word = words.at(drawIndex(int(words.size())));
        }
    }
    rs.Close();

    flowerLine = name.isEmpty() ? QString() : QStringLiteral("今日の誕生花は ") + name + QStringLiteral(" です");
    wordLine = word.isEmpty() ? QString() : QStringLiteral("花言葉は ") + word + QStringLiteral(" です");
}
