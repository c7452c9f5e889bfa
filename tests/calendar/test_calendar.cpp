#include "base/DateValue.h"
#include "calendar/DayInfo.h"
#include "calendar/DayText.h"
#include "calendar/modOldCal.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsMst.h"
#include "support/TestProgram.h"

#include <QDate>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <deque>

namespace {

double dateValue(const QDate &date)
{
    return DateValue::fromQDate(date);
}

// A double to all 17 significant digits: compared as text, two values are equal only when every bit is
// (QCOMPARE on doubles would allow a relative 1e-12, a fifth of a second on a day number).
QString exact(double x)
{
    return QString::number(x, 'g', 17);
}

QString text(const OldCalDate &d)
{
    return QStringLiteral("%1 %2%3/%4").arg(d.year).arg(d.leap ? QStringLiteral("L") : QString()).arg(d.month).arg(d.day);
}

// Minutes between a day number and a civil moment in Japan Standard Time.
double minutesFrom(double dayNumber, const QDate &date, int hour, int minute)
{
    const double expected = DateToDayNum(DateValue::fromParts(date.year(), date.month(), date.day(), hour, minute));
    return std::fabs(dayNumber - expected) * 24 * 60;
}

struct CommandResult
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs "vantle-admin oldcal ARGS" (the program ctest names in VANTLE_ADMIN), with the program folder `home`
// in VANTLE_HOME or none at all.
CommandResult runAdmin(const QStringList &args, const QString &home = QString(),
                       const QString &command = QStringLiteral("oldcal"))
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VANTLE_HOME"));
    if (!home.isEmpty())
        environment.insert(QStringLiteral("VANTLE_HOME"), home);
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("VANTLE_ADMIN"), QStringList{command} + args);
    CommandResult result;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

// The flower draw's numbers for one test: the scripted ones first, then a seeded generator's.
class TestRandom : public RandomSource
{
public:
    explicit TestRandom(std::initializer_list<double> script, quint32 seed = 1) : m_script(script), m_generator(seed)
    {
        RandomSource::install(this);
    }
    ~TestRandom() override { RandomSource::install(nullptr); }
    double next() override
    {
        if (m_script.empty())
            return m_generator.generateDouble();
        const double r = m_script.front();
        m_script.pop_front();
        return r;
    }

private:
    std::deque<double> m_script;
    QRandomGenerator m_generator;
};

// The flower line and the word line, joined by "|".
QString flowerOf(const QDate &date)
{
    QString line, word;
    GetFlower(DateValue::fromQDate(date), line, word);
    return line + u'|' + word;
}

} // namespace

class TestCalendar : public QObject
{
    Q_OBJECT

private slots:
    void conversions();
    void dayNumToDateKeepsYearAndMonth();
    void solarTermsAndNewMoonsFallOnTheirMoments();
    void arithmeticIsPinned_data();
    void arithmeticIsPinned();
    void oldCal_data();
    void oldCal();
    void everyDateFrom1900To2100();
    void dayInfo();
    void dayTexts();
    void flowers();
    void command();
    void textCommand();
    void commandRejectsBadArguments();
};

void TestCalendar::conversions()
{
    QCOMPARE(exact(DateToDayNum(DateValue::fromParts(2000, 1, 1))), exact(2451544));
    QCOMPARE(exact(DateToDayNum(DateValue::fromParts(2008, 7, 4, 12))), exact(2454651.5));
    QCOMPARE(exact(DateToDayNum(DateValue::fromParts(2000, 1, 1, 18))), exact(2451544.75));
    QCOMPARE(exact(DateToDayNum(0)), exact(2415018)); // 1899-12-30
    // January and February count as months 13 and 14 of the year before; 1900 had no leap day.
    QCOMPARE(exact(DateToDayNum(DateValue::fromParts(2024, 2, 29))), exact(2460369));
    QCOMPARE(exact(DateToDayNum(DateValue::fromParts(2024, 3, 1))), exact(2460370));
    QCOMPARE(exact(DateToDayNum(DateValue::fromParts(1900, 3, 1))), exact(2415079));

    QCOMPARE(exact(NormAngle(-30)), exact(330));
    QCOMPARE(exact(NormAngle(-360)), exact(360)); // not 0
    QCOMPARE(exact(NormAngle(-390)), exact(330));
    QCOMPARE(exact(NormAngle(720)), exact(0));
    QCOMPARE(exact(NormAngle(1000.25)), exact(280.25));
    QCOMPARE(exact(NormAngle(359.5)), exact(359.5));
}

// The conversion back is only used for the civil year and month, which must hold for every day; the day itself
// may differ on the last day of February.
void TestCalendar::dayNumToDateKeepsYearAndMonth()
{
    QStringList wrong;
    for (QDate d(1800, 1, 1); d <= QDate(2300, 12, 31); d = d.addDays(1)) {
        const CivilDateTime c = DayNumToDate(DateToDayNum(dateValue(d)));
        const bool lastOfFebruary = d.month() == 2 && d.day() == d.daysInMonth();
        if (c.year != d.year() || c.month != d.month() || (!lastOfFebruary && c.day != d.day()) || c.hour != 0)
            wrong << d.toString(Qt::ISODate);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.mid(0, 10).join(' ')));

    const CivilDateTime t = DayNumToDate(2454651.5 + (45 * 60 + 30.5) / 86400.0);
    QCOMPARE(QString::asprintf("%d-%d-%d %d:%d:%d", t.year, t.month, t.day, t.hour, t.minute, t.second),
             QStringLiteral("2008-7-4 12:45:30"));
}

// Published moments (JST): winter solstice 2014-12-22 08:03, new moon 2014-12-22 10:36, new moon 2008-07-03
// 11:19, summer solstice 2008-06-21 08:59. The truncated series stay within minutes of them.
void TestCalendar::solarTermsAndNewMoonsFallOnTheirMoments()
{
    const double dec23 = DateToDayNum(dateValue(QDate(2014, 12, 23)));
    const SolarTerm solstice = CalcNibun(dec23);
    QCOMPARE(solstice.longitude, 270.0);
    QVERIFY2(minutesFrom(solstice.time, QDate(2014, 12, 22), 8, 3) < 15, qPrintable(QString::number(solstice.time, 'f', 6)));
    QVERIFY(minutesFrom(CalcSaku(dec23), QDate(2014, 12, 22), 10, 36) < 5);

    const double jul4 = DateToDayNum(dateValue(QDate(2008, 7, 4)));
    QVERIFY(minutesFrom(CalcSaku(jul4), QDate(2008, 7, 3), 11, 19) < 5);
    const SolarTerm summer = CalcChu(jul4);
    QCOMPARE(summer.longitude, 90.0);
    QVERIFY(minutesFrom(summer.time, QDate(2008, 6, 21), 8, 59) < 15);

    // At the moment found, the moon has caught up with the sun.
    const double t = (CalcSaku(jul4) - 9.0 / 24 + 0.5 - 2451545) / 36525;
    const double gap = NormAngle(MoonLong(t) - SunLong(t) + 180) - 180;
    QVERIFY2(std::fabs(gap) < 0.01, qPrintable(QString::number(gap)));
}

// The day a month begins on can hang on a few seconds, so the engine's arithmetic (15-digit pi, the time argument
// in two parts, floor for Int, the step sizes, every series term) must not drift even where no date in
// 1900-2100 would show it yet. These are the engine's own results to the last bit. They include the C library's
// cosine, identical in every variant of glibc on x86-64; elsewhere the last bits may differ, so they are not checked.
void TestCalendar::arithmeticIsPinned_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("nibun");
    QTest::addColumn<double>("chu");
    QTest::addColumn<double>("saku");
    QTest::addColumn<double>("sun");  // SunLong at (day number - 2451545) / 36525
    QTest::addColumn<double>("moon"); // MoonLong at the same t

    QTest::addRow("1900-01-02") << QDate(1900, 1, 2) << 0x1.26cd134e0893bp+21 << 0x1.26cd134e0893bp+21
        << 0x1.26cd679f1d2c5p+21 << 0x1.18a9fa6a6de24p+8 << 0x1.179e2f5a9de3p+8;
    QTest::addRow("1900-01-29") << QDate(1900, 1, 29) << 0x1.26cd134e08988p+21 << 0x1.26cdfed87af68p+21
        << 0x1.26cd679f1daf7p+21 << 0x1.34276e1d5ff7dp+8 << 0x1.1113aec06c2c8p+8;
    QTest::addRow("1902-02-04") << QDate(1902, 2, 4) << 0x1.26e3e72fa14b4p+21 << 0x1.26e4d2b946884p+21
        << 0x1.26e47a148b1d1p+21 << 0x1.39bfb69a2c2eap+8 << 0x1.ff4fbc489f57ep+7;
    QTest::addRow("1906-10-23") << QDate(1906, 10, 23) << 0x1.271a2aae4163ep+21 << 0x1.271a2aae4163ep+21
        << 0x1.271aea936cefp+21 << 0x1.a05f477aa757dp+7 << 0x1.0f0f44fe506ep+8;
    QTest::addRow("1933-07-10") << QDate(1933, 7, 10) << 0x1.284b6a0bb1571p+21 << 0x1.284b6a0bb1571p+21
        << 0x1.284b73759bc24p+21 << 0x1.ab32ed936b31cp+6 << 0x1.3a9622b7c0f4bp+8;
    QTest::addRow("2014-12-23") << QDate(2014, 12, 23) << 0x1.2bedaaa78568ep+21 << 0x1.2bedaaa78568ep+21
        << 0x1.2bedab8ac5159p+21 << 0x1.0e8dab5b059f3p+8 << 0x1.1457b7dd3ee2dp+8;
}

void TestCalendar::arithmeticIsPinned()
{
#if !(defined(__GLIBC__) && defined(__x86_64__))
    QSKIP("pinned for glibc on x86-64");
#endif
    QFETCH(QDate, date);
    QFETCH(double, nibun);
    QFETCH(double, chu);
    QFETCH(double, saku);
    QFETCH(double, sun);
    QFETCH(double, moon);

    const double tm = DateToDayNum(dateValue(date));
    const double t = (tm - 2451545) / 36525;
    QCOMPARE(exact(CalcNibun(tm).time), exact(nibun));
    QCOMPARE(exact(CalcChu(tm).time), exact(chu));
    QCOMPARE(exact(CalcSaku(tm)), exact(saku));
    QCOMPARE(exact(SunLong(t)), exact(sun));
    QCOMPARE(exact(MoonLong(t)), exact(moon));
}

void TestCalendar::oldCal_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("lunar"); // "year [L]month/day"

    QTest::addRow("new year 2015") << QDate(2015, 2, 19) << "2015 1/1";
    QTest::addRow("new year 2026") << QDate(2026, 2, 17) << "2026 1/1";
    QTest::addRow("eve of new year 2026") << QDate(2026, 2, 16) << "2025 12/29";
    QTest::addRow("2000-01-01 in the previous lunar year") << QDate(2000, 1, 1) << "1999 11/25";
    QTest::addRow("2008-07-04") << QDate(2008, 7, 4) << "2008 6/2";

    QTest::addRow("leap 9 of 2014") << QDate(2014, 10, 24) << "2014 L9/1";
    QTest::addRow("day before leap 9") << QDate(2014, 10, 23) << "2014 9/30";
    QTest::addRow("leap 5 of 2017") << QDate(2017, 6, 24) << "2017 L5/1";
    QTest::addRow("leap 4 of 2020") << QDate(2020, 5, 23) << "2020 L4/1";
    QTest::addRow("leap 2 of 2023 (late start)") << QDate(2023, 3, 22) << "2023 L2/1";
    QTest::addRow("day before leap 2") << QDate(2023, 3, 21) << "2023 2/30";
    QTest::addRow("leap 6 of 2025") << QDate(2025, 7, 25) << "2025 L6/1";
    QTest::addRow("leap 3 of 2012") << QDate(2012, 4, 21) << "2012 L3/1";

    // The new moon of 2014-12-22 came a little after the winter solstice of the same morning; the dates up to
    // the spring equinox start from that solstice and go through the early-start correction.
    QTest::addRow("eve of solstice new moon") << QDate(2014, 12, 21) << "2014 10/30";
    QTest::addRow("solstice new moon") << QDate(2014, 12, 22) << "2014 11/1";
    QTest::addRow("2015-01-01") << QDate(2015, 1, 1) << "2014 11/11";
    QTest::addRow("2015-02-01") << QDate(2015, 2, 1) << "2014 12/13";
    QTest::addRow("2015-03-20") << QDate(2015, 3, 20) << "2015 2/1";
    QTest::addRow("2015-03-21") << QDate(2015, 3, 21) << "2015 2/2";
}

void TestCalendar::oldCal()
{
    QFETCH(QDate, date);
    QFETCH(QString, lunar);
    QCOMPARE(text(CalcOldCal(dateValue(date))), lunar);
}

// Walks every day: the lunar day goes up by one or restarts at 1 after day 29 or 30, a new month takes the next
// number (or the same number as a leap month), and the lunar year turns exactly on day 1 of month 1.
void TestCalendar::everyDateFrom1900To2100()
{
    // The old rules give no clean answer in 2033: the month from 2033-11-22 is numbered 10 from the autumn
    // equinox's table, and the next one leap 11 from the winter solstice's. The engine keeps that numbering.
    const QDate knownJump(2033, 12, 22);

    QStringList faults;
    const auto fault = [&faults](const QDate &d, const OldCalDate &before, const OldCalDate &now) {
        faults << QStringLiteral("%1: %2 -> %3").arg(d.toString(Qt::ISODate), text(before), text(now));
    };

    OldCalDate previous = CalcOldCal(dateValue(QDate(1899, 12, 31)));
    for (QDate d(1900, 1, 1); d <= QDate(2100, 12, 31); d = d.addDays(1)) {
        const OldCalDate now = CalcOldCal(dateValue(d));
        if (now.month < 1 || now.month > 12 || now.day < 1 || now.day > 30) {
            fault(d, previous, now);
        } else if (now.day != 1) {
            if (now.day != previous.day + 1 || now.month != previous.month || now.leap != previous.leap
                || now.year != previous.year)
                fault(d, previous, now);
        } else {
            const bool numbered = now.leap ? (now.month == previous.month && !previous.leap)
                                           : now.month == previous.month % 12 + 1;
            const bool newYear = now.month == 1 && !now.leap;
            const bool year = now.year == previous.year + (newYear ? 1 : 0);
            if (previous.day < 29 || !year || (!numbered && d != knownJump))
                fault(d, previous, now);
        }
        previous = now;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 10).join('\n')));
    QCOMPARE(text(CalcOldCal(dateValue(knownJump))), QStringLiteral("2033 L11/1"));
}

void TestCalendar::dayInfo()
{
    const double newYear2015 = dateValue(QDate(2015, 2, 19));
    QCOMPARE(RokuyoNo(dateValue(QDate(2000, 1, 1))), 0);   // lunar 11/25: 大安
    QCOMPARE(RokuyoNo(newYear2015), 2);                     // day 1 of month 1: 先勝
    QCOMPARE(RokuyoNo(CalcOldCal(newYear2015)), 2);
    QCOMPARE(RokuyoNo(dateValue(QDate(2014, 10, 24))), 4); // day 1 of leap 9: 先負
    QCOMPARE(RokuyoNo(dateValue(QDate(2026, 2, 16))), 5);  // lunar 12/29: 仏滅

    // L_ETO numbers 甲子 as 60, so 戊午 is 54.
    QCOMPARE(EtoNo(DateValue::fromParts(2000, 1, 1)), 54);     // 戊午
    QCOMPARE(EtoNo(DateValue::fromParts(2000, 1, 1, 18)), 54); // the time of day does not count
    QCOMPARE(EtoNo(DateValue::fromParts(1949, 10, 1)), 60);    // 甲子
    QCOMPARE(EtoNo(DateValue::fromParts(2000, 1, 7)), 60);
    QCOMPARE(EtoNo(DateValue::fromParts(2000, 1, 8)), 1);
    QCOMPARE(EtoNo(DateValue::fromParts(2000, 3, 1)), 54); // sixty days after 2000-01-01
}

void TestCalendar::dayTexts()
{
    QCOMPARE(OldCalText(dateValue(QDate(2008, 7, 4))), QStringLiteral("旧6/2"));
    QCOMPARE(OldCalText(OldCalDate{2033, true, 11, 30}), QStringLiteral("旧閏11/30"));
    QCOMPARE(TodayText(CalcOldCal(dateValue(QDate(2014, 10, 24))), QStringLiteral("戊辰")),
             QStringLiteral("今日は旧閏9/1 戊辰 先負 です"));

    // Within a lunar month the names follow the cycle's order; 2008-07-03 is day 1 of month 6.
    QStringList week;
    for (QDate d(2008, 7, 3); d <= QDate(2008, 7, 9); d = d.addDays(1))
        week << RokuyoName(RokuyoNo(dateValue(d)));
    QCOMPARE(week.join(u' '), QStringLiteral("赤口 先勝 友引 先負 仏滅 大安 赤口"));

    TestProgram p;
    p.createDatabases(true);
    // The master database is the program's to open: before it is, the name is left out.
    QCOMPARE(TodayText(DateValue::fromParts(2000, 1, 1, 18)), QStringLiteral("今日は旧11/25  大安 です"));
    QVERIFY(!gMst);
    p.openAll();
    QCOMPARE(TodayText(DateValue::fromParts(2000, 1, 1, 18)), QStringLiteral("今日は旧11/25 戊午 大安 です"));
    QCOMPARE(TodayText(dateValue(QDate(2008, 7, 4))), QStringLiteral("今日は旧6/2 乙巳 先勝 です"));
    QCOMPARE(GetEto(dateValue(QDate(1949, 10, 1))), QStringLiteral("甲子")); // number 60

    // A missing row, a Null name and a missing table leave the name out, quietly.
    gMst->EXEC(QStringLiteral("DELETE FROM L_ETO WHERE ID=54"));
    gMst->EXEC(QStringLiteral("UPDATE L_ETO SET ETO_YM=NULL WHERE ID=41"));
    QCOMPARE(TodayText(dateValue(QDate(2000, 1, 1))), QStringLiteral("今日は旧11/25  大安 です"));
    QCOMPARE(GetEto(dateValue(QDate(2008, 7, 4))), QString());
    gMst->EXEC(QStringLiteral("DROP TABLE L_ETO"));
    QCOMPARE(GetEto(dateValue(QDate(2000, 1, 2))), QString());
    QVERIFY(p.messages().shown().isEmpty());
}

void TestCalendar::flowers()
{
    TestProgram p;
    p.createDatabases(true);
    p.openAll();
    {
        // ヒイラギ (11-04) has words in WD2, WD5 and WD9 only; the word is drawn among those three.
        // The first number picks the row, the second the word.
        TestRandom random{0.99, 0.4};
        QCOMPARE(flowerOf(QDate(2008, 11, 4)), QStringLiteral("今日の誕生花は ヒイラギ です|花言葉は 先見の明 です"));
        // 02-29 has a name and no word: the draw stops with the flower alone.
        QCOMPARE(flowerOf(QDate(2024, 2, 29)), QStringLiteral("今日の誕生花は ユキワリソウ です|"));
    }

    // No row, a Null or empty name: nothing. A row whose words are all Null or empty: the flower alone.
    gMst->EXEC(QStringLiteral("DELETE FROM L_FWD WHERE MD=101"));
    gMst->EXEC(QStringLiteral("UPDATE L_FWD SET NM=NULL WHERE MD=102"));
    gMst->EXEC(QStringLiteral("UPDATE L_FWD SET NM='' WHERE MD=103"));
    gMst->EXEC(QStringLiteral("UPDATE L_FWD SET WD1=NULL, WD2=NULL, WD3='', WD4=NULL, WD5=NULL, WD6=NULL, "
                              "WD7=NULL, WD8=NULL, WD9=NULL WHERE MD=104"));
    QCOMPARE(flowerOf(QDate(2025, 1, 1)), QStringLiteral("|"));
    QCOMPARE(flowerOf(QDate(2025, 1, 2)), QStringLiteral("|"));
    QCOMPARE(flowerOf(QDate(2025, 1, 3)), QStringLiteral("|"));
    QVERIFY(flowerOf(QDate(2025, 1, 4)).endsWith(QStringLiteral(" です|")));

    // Old lists may give a day several rows (the table here has no key): either flower, each with a word of its
    // own row only, and every word in turn.
    gMst->EXEC(QStringLiteral("DROP TABLE L_FWD"));
    gMst->EXEC(QStringLiteral("CREATE TABLE L_FWD (MD INTEGER, NM VARCHAR(50), WD1 VARCHAR(100), WD2 VARCHAR(100), "
                              "WD3 VARCHAR(100), WD4 VARCHAR(100), WD5 VARCHAR(100), WD6 VARCHAR(100), "
                              "WD7 VARCHAR(100), WD8 VARCHAR(100), WD9 VARCHAR(100))"));
    gMst->EXEC(QStringLiteral("INSERT INTO L_FWD (MD, NM, WD1, WD7) VALUES (704, 'アサガオ', '固い絆', '愛情')"));
    gMst->EXEC(QStringLiteral("INSERT INTO L_FWD (MD, NM, WD3, WD4) VALUES (704, 'ハス', '清らかな心', '')"));
    gMst->EXEC(QStringLiteral("INSERT INTO L_FWD (MD, NM, WD1) VALUES (705, 'ユリ', '純粋')"));
    TestRandom seeded({}, 20080704);
    QSet<QString> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(flowerOf(QDate(2008, 7, 4)));
    QCOMPARE(seen, (QSet<QString>{QStringLiteral("今日の誕生花は アサガオ です|花言葉は 固い絆 です"),
                                  QStringLiteral("今日の誕生花は アサガオ です|花言葉は 愛情 です"),
                                  QStringLiteral("今日の誕生花は ハス です|花言葉は 清らかな心 です")}));

    // A query that fails is the caller's to handle.
    gMst->EXEC(QStringLiteral("DROP TABLE L_FWD"));
    QVERIFY_THROWS_EXCEPTION(DbError, flowerOf(QDate(2025, 1, 5)));
}

void TestCalendar::command()
{
    if (qEnvironmentVariableIsEmpty("VANTLE_ADMIN"))
        QSKIP("VANTLE_ADMIN is not set; run through ctest");

    const CommandResult two = runAdmin({"2014-10-23", "2014-10-24"});
    QCOMPARE(two.exitCode, 0);
    QCOMPARE(two.out, QByteArray("2014-10-23\t2014\t0\t9\t30\t3\t3\n"
                                 "2014-10-24\t2014\t1\t9\t1\t4\t4\n"));
    QCOMPARE(two.err, QByteArray());
    QCOMPARE(runAdmin({"2000-01-01"}).out, QByteArray("2000-01-01\t1999\t0\t11\t25\t0\t54\n"));

    // Both ends are included and every day has its line.
    const QList<QByteArray> lines = runAdmin({"2033-01-01", "2034-12-31"}).out.split('\n');
    QCOMPARE(lines.size(), 730 + 1);
    QCOMPARE(lines.at(0), QByteArray("2033-01-01\t2032\t0\t12\t1\t1\t48"));
    QCOMPARE(lines.at(355), QByteArray("2033-12-22\t2033\t1\t11\t1\t0\t43"));
    QCOMPARE(lines.at(729).left(10), QByteArray("2034-12-31"));
}

void TestCalendar::textCommand()
{
    if (qEnvironmentVariableIsEmpty("VANTLE_ADMIN"))
        QSKIP("VANTLE_ADMIN is not set; run through ctest");

    // Without a program folder the sexagenary name is left out.
    const CommandResult bare = runAdmin({"2000-01-01", "--text"});
    QCOMPARE(bare.exitCode, 0);
    QCOMPARE(QString::fromUtf8(bare.out), QStringLiteral("2000-01-01\t今日は旧11/25  大安 です\n"));
    QCOMPARE(bare.err, QByteArray());

    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("shop"));
    QCOMPARE(runAdmin({home, "--demo"}, QString(), QStringLiteral("init")).exitCode, 0);
    const CommandResult named = runAdmin({"--text", "2014-10-23", "2014-10-24"}, home);
    QCOMPARE(QString::fromUtf8(named.out), QStringLiteral("2014-10-23\t今日は旧9/30 丁卯 友引 です\n"
                                                          "2014-10-24\t今日は旧閏9/1 戊辰 先負 です\n"));
    QCOMPARE(named.err, QByteArray());

    // A folder without INFO.MDB is left untouched; one whose master database is gone must not wait for an
    // answer. Both give the line without the name and say why on stderr.
    const QString empty = dir.filePath(QStringLiteral("empty"));
    QVERIFY(QDir().mkpath(empty));
    QVERIFY(QFile::remove(QDir(home).filePath(QStringLiteral("mst.mdb"))));
    for (const QString &folder : {empty, home}) {
        const CommandResult result = runAdmin({"2000-01-01", "--text"}, folder);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, bare.out);
        QVERIFY(!result.err.isEmpty());
    }
    QVERIFY(QDir(empty).isEmpty());
}

void TestCalendar::commandRejectsBadArguments()
{
    if (qEnvironmentVariableIsEmpty("VANTLE_ADMIN"))
        QSKIP("VANTLE_ADMIN is not set; run through ctest");

    const QList<QStringList> cases{
        {},                                         // no date
        {"2000-02-30"},                             // no such day
        {"2000-1-01"},                              // short month
        {"today"},                                  // not a date
        {"2000-01-01", "2000/01/02"},               // bad second date
        {"2001-01-01", "2000-12-31"},               // FROM after TO
        {"2000-01-01", "2000-01-02", "2000-01-03"}, // too many
        {"--txt", "2000-01-01"},                    // unknown option
        {"--text"},                                 // no date
        {"--text", "2000-13-01"},                   // no such month
    };
    for (const QStringList &args : cases) {
        const CommandResult result = runAdmin(args);
        const QByteArray what = args.join(' ').toUtf8();
        QVERIFY2(result.exitCode > 0, what.constData());
        QVERIFY2(result.out.isEmpty(), what.constData());
        QVERIFY2(!result.err.trimmed().isEmpty(), what.constData());
    }
}

QTEST_GUILESS_MAIN(TestCalendar)
#include "test_calendar.moc"
