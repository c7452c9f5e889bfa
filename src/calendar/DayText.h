#pragma once

#include "calendar/modOldCal.h"

#include <QString>

// The day-information texts of the receipt: the line with the lunisolar date, the sexagenary name and the
// six-day name of a day, and the two lines with the day's birth flower and one of its flower words. The names
// come from L_ETO and L_FWD of the master database (gMst, created here when the program has none yet).

// Uniform numbers in [0, 1) for the flower draw. The program draws from the system's generator; tests install
// a seeded or scripted source.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;

    // The source in use (the system's generator unless another one was installed).
    static RandomSource &instance();
    // Installs a source; nullptr restores the system's generator. The caller keeps ownership.
    static void install(RandomSource *source);
};

// The six-day name of an index 0..5 ("大安", "赤口", "先勝", "友引", "先負", "仏滅"); "" for any other index.
QString RokuyoName(int index);

// "旧" + ("閏" in a leap month) + month + "/" + day, without leading zeros: 旧6/2, 旧閏9/1, 旧12/30.
QString OldCalText(double date);
QString OldCalText(const OldCalDate &lunar);

// The sexagenary name of the day (ETO_YM of L_ETO under EtoNo), or "" when there is none or it cannot be
// read. Never throws.
QString GetEto(double date);

// "今日は旧11/25 戊午 大安 です": the lunisolar date, the sexagenary name and the six-day name. An empty name
// leaves two blanks in a row.
QString TodayText(double date);
// The same line from a lunisolar date already computed and a name already looked up.
QString TodayText(const OldCalDate &lunar, const QString &etoName);

// The birth flower of the day's month and day: one of its L_FWD rows at random, and one of that row's
// non-empty flower words at random. flowerLine is "今日の誕生花は <name> です", wordLine "花言葉は <word> です";
// each is "" when there is no name or no word (no row for the day, an empty name, a row without words).
// A failing query throws DbError to the caller.
void GetFlower(double date, QString &flowerLine, QString &wordLine);
