// The day information of the receipt (the six-day cycle, the sexagenary name, the birth flower) and the
// operator's command that prints lunisolar dates.
#include "base/DateValue.h"
#include "calendar/DayInfo.h"
#include "calendar/DayText.h"
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

namespace {

struct CommandResult { int exitCode = -1; QByteArray out, err; };

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
struct TestRandom : RandomSource
{
    TestRandom(QList<double> numbers, quint32 seed) : script(numbers), generator(seed) { RandomSource::install(this); }
    ~TestRandom() override { RandomSource::install(nullptr); }
    double next() override { return script.isEmpty() ? generator.generateDouble() : script.takeFirst(); }
    QList<double> script;
    QRandomGenerator generator;
};

// The flower line and the word line, joined by "|".
QString flowerOf(const QDate &date)
{
    QString line, word;
    GetFlower(DateValue::fromQDate(date), line, word);
    return line + u'|' + word;
}

} // namespace

class TestDayTexts : public QObject
{
    Q_OBJECT

private slots:
    void dayTexts();
    void flowers();
    void command();
};

// The six-day cycle follows the lunar month and day (2008-07-03 is day 1 of month 6), a leap month counting as
// its month; L_ETO numbers 甲子 as 60, so 2000-01-01 (戊午) is 54 whatever the time of day.
void TestDayTexts::dayTexts()
{
    QStringList week;
    for (QDate d(2008, 7, 3); d <= QDate(2008, 7, 9); d = d.addDays(1))
        week << RokuyoName(RokuyoNo(DateValue::fromQDate(d)));
    QCOMPARE(week.join(u' '), QStringLiteral("赤口 先勝 友引 先負 仏滅 大安 赤口"));
    QCOMPARE(EtoNo(DateValue::fromParts(2000, 1, 7)), 60);
    QCOMPARE(EtoNo(DateValue::fromParts(2000, 1, 8)), 1);

    TestProgram p;
    p.createDatabases(true);
    // The master database is the program's to open: before it is, the name is left out.
    QCOMPARE(TodayText(DateValue::fromParts(2000, 1, 1, 18)), QStringLiteral("今日は旧11/25  大安 です"));
    p.openAll();
    QCOMPARE(TodayText(DateValue::fromParts(2000, 1, 1, 18)), QStringLiteral("今日は旧11/25 戊午 大安 です"));

    // A missing row, a Null name and a missing table leave the name out, quietly.
    gMst->EXEC(QStringLiteral("DELETE FROM L_ETO WHERE ID=54"));
    gMst->EXEC(QStringLiteral("UPDATE L_ETO SET ETO_YM=NULL WHERE ID=41"));
    QCOMPARE(TodayText(DateValue::fromQDate(QDate(2000, 1, 1))), QStringLiteral("今日は旧11/25  大安 です"));
    QCOMPARE(GetEto(DateValue::fromQDate(QDate(2008, 7, 4))), QString());
    gMst->EXEC(QStringLiteral("DROP TABLE L_ETO"));
    QCOMPARE(GetEto(DateValue::fromQDate(QDate(2000, 1, 2))), QString());
    QVERIFY(p.messages().shown().isEmpty());
}

void TestDayTexts::flowers()
{
    TestProgram p;
    p.createDatabases(true);
    p.openAll();
    // ヒイラギ (11-04) has words in WD2, WD5 and WD9 only; the word is drawn among those three. The first number
    // picks the row, the second the word; the seeded generator's numbers follow.
    TestRandom random({0.99, 0.4}, 20080704);
    QCOMPARE(flowerOf(QDate(2008, 11, 4)), QStringLiteral("今日の誕生花は ヒイラギ です|花言葉は 先見の明 です"));
    // 02-29 has a name and no word: the draw stops with the flower alone.
    QCOMPARE(flowerOf(QDate(2024, 2, 29)), QStringLiteral("今日の誕生花は ユキワリソウ です|"));

    // No row, a Null or empty name: nothing. A row whose words are all Null or empty: the flower alone.
    gMst->EXEC(QStringLiteral("DELETE FROM L_FWD WHERE MD=101"));
    gMst->EXEC(QStringLiteral("UPDATE L_FWD SET NM=NULL WHERE MD=102"));
    gMst->EXEC(QStringLiteral("UPDATE L_FWD SET NM='' WHERE MD=103"));
    gMst->EXEC(QStringLiteral("UPDATE L_FWD SET WD1=NULL, WD2=NULL, WD3='', WD4=NULL, WD5=NULL, WD6=NULL, "
                              "WD7=NULL, WD8=NULL, WD9=NULL WHERE MD=104"));
    for (int d : {1, 2, 3})
        QCOMPARE(flowerOf(QDate(2025, 1, d)), QStringLiteral("|"));
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

void TestDayTexts::command()
{
    if (qEnvironmentVariableIsEmpty("VANTLE_ADMIN"))
        QSKIP("VANTLE_ADMIN is not set; run through ctest");

    // Both ends are included: the last day of a month and the first of the leap month after it.
    const CommandResult two = runAdmin({"2014-10-23", "2014-10-24"});
    QVERIFY(two.exitCode == 0 && two.err.isEmpty());
    QCOMPARE(two.out, QByteArray("2014-10-23\t2014\t0\t9\t30\t3\t3\n"
                                 "2014-10-24\t2014\t1\t9\t1\t4\t4\n"));

    // Without a program folder the sexagenary name is left out.
    const CommandResult bare = runAdmin({"2000-01-01", "--text"});
    QVERIFY(bare.exitCode == 0 && bare.err.isEmpty());
    QCOMPARE(QString::fromUtf8(bare.out), QStringLiteral("2000-01-01\t今日は旧11/25  大安 です\n"));

    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("shop"));
    QCOMPARE(runAdmin({home, "--demo"}, QString(), QStringLiteral("init")).exitCode, 0);
    const CommandResult named = runAdmin({"--text", "2014-10-23", "2014-10-24"}, home);
    QCOMPARE(QString::fromUtf8(named.out), QStringLiteral("2014-10-23\t今日は旧9/30 丁卯 友引 です\n"
                                                          "2014-10-24\t今日は旧閏9/1 戊辰 先負 です\n"));

    // A folder without INFO.MDB is left untouched; one whose master database is gone must not wait for an
    // answer. Both give the line without the name and say why on stderr.
    const QString empty = dir.filePath(QStringLiteral("empty"));
    QVERIFY(QDir().mkpath(empty));
    QVERIFY(QFile::remove(QDir(home).filePath(QStringLiteral("mst.mdb"))));
    for (const QString &folder : {empty, home}) {
        const CommandResult result = runAdmin({"2000-01-01", "--text"}, folder);
        QVERIFY(result.exitCode == 0 && !result.err.isEmpty());
        QCOMPARE(result.out, bare.out);
    }
    QVERIFY(QDir(empty).isEmpty());

    // Refused: no date, no such day, a short month, a bad second date, FROM after TO, too many, an unknown option.
    const QList<QStringList> cases{{}, {"2000-02-30"}, {"2000-1-01"}, {"2000-01-01", "2000/01/02"},
                                   {"2001-01-01", "2000-12-31"}, {"2000-01-01", "2000-01-02", "2000-01-03"},
                                   {"--txt", "2000-01-01"}, {"--text"}};
    for (const QStringList &args : cases) {
        const CommandResult result = runAdmin(args);
        QVERIFY2(result.exitCode > 0 && result.out.isEmpty() && !result.err.trimmed().isEmpty(), qPrintable(args.join(' ')));
    }
}

QTEST_GUILESS_MAIN(TestDayTexts)
#include "test_day_texts.moc"
