// Money, variants, the numeric reading, dates and the formats the register prints or stores; messages, the log
// and the rounding routine.
#include "base/Common.h"
#include "base/Currency.h"
#include "base/DateValue.h"
#include "base/Format.h"
#include "base/Variant.h"
#include "data/Globals.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <limits>

using Rows::money;

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void currencyParsingArithmeticAndLimits();
    void variantsValAndRounding();
    void datesAndFormats();
    void messagesAndTheLog();
};

void TestValues::currencyParsingArithmeticAndLimits()
{
    QCOMPARE(money("-0.08").toPlainText(), QStringLiteral("-0.08"));
    QCOMPARE(money(" 1234.50 ").toPlainText(), QStringLiteral("1234.5"));
    QCOMPARE(money("0.00005").raw(), 0); // half to even at the fifth decimal
    QCOMPARE(money("0.00015").raw(), 2);
    QCOMPARE(money("1e3").raw(), 10000000);
    for (const char *bad : {"12a", "", "99999999999999999999"})
        QVERIFY2(!Currency::parse(QString::fromLatin1(bad)), bad);
    QCOMPARE(Currency::fromDouble(0.1 + 0.2).toPlainText(), QStringLiteral("0.3"));
    QCOMPARE(Currency::fromRaw(std::numeric_limits<int64_t>::max()).toPlainText(), QStringLiteral("922337203685477.5807"));
    QCOMPARE(Currency::fromRaw(std::numeric_limits<int64_t>::min()).toPlainText(), QStringLiteral("-922337203685477.5808"));

    QCOMPARE((money("12345") * money("0.15")).toPlainText(), QStringLiteral("1851.75"));
    QCOMPARE(money("0.1") + money("0.2"), money("0.3"));
    QCOMPARE(money("5") - money("7.25"), money("-2.25"));
    QCOMPARE((money("10") / money("3")).toPlainText(), QStringLiteral("3.3333"));
    QCOMPARE((money("-10") / money("-4")).toPlainText(), QStringLiteral("2.5"));
    QCOMPARE((money("0.0001") * money("0.5")).raw(), 0); // 0.00005 to even
    QCOMPARE((money("0.0003") * money("0.5")).raw(), 2); // 0.00015 to even
    QCOMPARE((money("-0.0003") * money("0.5")).raw(), -2);
    const Currency top = Currency::fromRaw(std::numeric_limits<int64_t>::max());
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, -top - money("0.0002"));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, top + money("0.0001"));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, -Currency::fromRaw(std::numeric_limits<int64_t>::min()));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, money("900000000000000") * money("100"));
    QVERIFY_THROWS_EXCEPTION(std::domain_error, money("1") / Currency());
}

void TestValues::variantsValAndRounding()
{
    // Empty (never set) and Null (a database Null) differ: only Empty reads as 0.
    QVERIFY(Variant().isEmpty() && !Variant().isNull() && Variant::null().isNull() && Variant().toLong() == 0);
    QVERIFY_THROWS_EXCEPTION(ConversionError, Variant::null().toLong());
    QVERIFY(Variant(2.5).toLong() == 2 && Variant(3.5).toLong() == 4); // integer conversion rounds half to even
    QCOMPARE(Variant(QStringLiteral("1,234")).toCurrency(), money("1234"));
    QVERIFY_THROWS_EXCEPTION(ConversionError, Variant(QStringLiteral("abc")).toLong());
    QVERIFY_THROWS_EXCEPTION(ConversionError, Variant(3e10).toLong());
    QVERIFY(Variant(QStringLiteral("True")).toBool() && Variant(true).toString() == QStringLiteral("True"));
    QCOMPARE(Variant::date(DateValue::fromParts(2024, 4, 1)).toString(), QStringLiteral("2024/04/01"));

    // Val reads the leading number and ignores blanks; anything else ends it.
    QCOMPARE(Val(QStringLiteral(" 1 2abc")), 12.0);
    QCOMPARE(Val(QStringLiteral("-3.5kg")), -3.5);
    QCOMPARE(Val(QStringLiteral("1.2.3")), 1.2);

    // Modes: 1 truncates toward zero, 2 rounds away from zero, 3 and anything else half away from zero.
    const struct { const char *value; int mode, digits; const char *expected; } cases[] = {
        {"-2.5", 3, 0, "-3"},   {"2.41", 2, 1, "2.5"},   {"2.49", 1, 1, "2.4"},       {"2.45", 9, 1, "2.5"},
        {"2.4999", 3, 0, "2"},  {"1851", 2, 0, "1851"},  {"-1851.75", 1, 0, "-1851"}, {"1234", 3, -1, "1230"},
    };
    for (const auto &c : cases) {
        QCOMPARE(RoundOff(Variant(Rows::money(c.value)), c.mode, c.digits).toPlainText(), QString::fromLatin1(c.expected));
        QCOMPARE(RoundOff(Variant(QString::fromLatin1(c.value).toDouble()), c.mode, c.digits).toPlainText(), QString::fromLatin1(c.expected));
    }
    QCOMPARE(RoundOff(Variant::null(), 3, 0), Currency());
    QCOMPARE(Nz(Variant::null(), Variant(0)).toLong(), 0);
    QVERIFY(Nz(Variant(), Variant(5)).isEmpty()); // Empty is no Null
}

void TestValues::datesAndFormats()
{
    const struct { const char *value, *pattern, *expected; } numbers[] = {
        {"1234567", "#,##0", "1,234,567"},  {"-1234", "#,##0", "-1,234"},   {"0", "#,##0", "0"},
        {"1234.5", "#,##0", "1,235"},       {"-0.5", "#,##0", "-1"},         {"8.45", "0.0", "8.5"},
        {"1.5", "0.00", "1.50"},            {"0.47", ".00 ", ".47 "},        {"0.999", ".00 ", "1.00 "},
        {"1500", "#,##0円", "1,500円"},
    };
    for (const auto &c : numbers)
        QCOMPARE(Format::number(money(c.value), QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected));

    QCOMPARE(DateValue::fromQDate(QDate(1899, 12, 30)), 0.0);
    QCOMPARE(DateValue::toQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    QVERIFY(DateValue::weekday(45383) == 2 && DateValue::weekday(-1) == 6); // 2024-04-01 was a Monday
    QCOMPARE(*DateValue::parse(QStringLiteral("2024/4/1")), 45383.0);
    QVERIFY(!DateValue::parse(QStringLiteral("2024/02/30")));

    const QDateTime morning(QDate(2024, 3, 1), QTime(9, 5, 2));
    const struct { QDateTime at; const char *pattern, *expected; } cases[] = {
        {morning, "yyyy-mm-dd hh:nn:ss", "2024-03-01 09:05:02"},
        {morning, "yyyy年m月d日(aaa) hh時nn分", "2024年3月1日(金) 09時05分"},
        {QDateTime(QDate(2019, 4, 30), QTime()), "gggee年mm月dd日", "平成31年04月30日"},
        {QDateTime(QDate(2019, 5, 1), QTime()), "gggee年mm月dd日", "令和01年05月01日"},
        {QDateTime(QDate(1989, 1, 7), QTime()), "gggee年", "昭和64年"},
        {QDateTime(QDate(1989, 1, 8), QTime()), "gggee年", "平成01年"},
        {QDateTime(QDate(1912, 7, 30), QTime()), "ggg e", "大正 1"},
        {morning, "h:mm", "9:05"}, // minutes after hours
    };
    for (const auto &c : cases)
        QCOMPARE(Format::date(DateValue::fromQDateTime(c.at), QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected));
}

void TestValues::messagesAndTheLog()
{
    const struct { int flags, answer; const char *logged; } cases[] = {
        {260, 7, "Marveno[YES-NO]本当に?[NO]"},         {48, 1, "Marveno[注意]本当に?"},
        {36, 6, "Marveno[問い合わせ]本当に?[YES]"},     {1, 2, "Marveno[OK-CANCEL]本当に?[CANCEL]"},
        {2, 5, "Marveno[ABORT-RETRY-IGNORE]本当に?[IGNORE]"}, {3, 2, "Marveno[YES-NO-CANCEL]本当に?[CANCEL]"},
        {5, 4, "Marveno[RETRY-CANCEL]本当に?[RETRY]"},  {16, 1, "Marveno[警告]本当に?"},
        {64, 1, "Marveno[情報]本当に?"},                {0, 1, "Marveno[OK]本当に?"},
    };
    for (const auto &c : cases) {
        TestProgram program;
        program.messages().queueAnswer(c.answer);
        QCOMPARE(MsgBoxEx(QStringLiteral("本当に?"), c.flags), c.answer);
        QCOMPARE(program.logLines().join(u'|').mid(23), QString::fromUtf8(c.logged)); // one line
    }

    TestProgram program;
    QString prompt = QStringLiteral("レジデータ登録に失敗しました。");
    QString title;
    MsgBoxEx(prompt, Msg::Exclamation, title);
    QCOMPARE(title, QStringLiteral("Marveno")); // the caller's empty caption is filled in
    QCOMPARE(program.logLines(), QStringList{"2024/04/01 09:15:02.47 Marveno[注意]レジデータ登録に失敗しました。"});
    // Without queued answers the default button answers: the second one here.
    QCOMPARE(MsgBoxEx(QStringLiteral("?"), Msg::YesNo | Msg::DefaultButton2), int(Msg::No));

    const double now = 45383.0 + (9 * 3600 + 15 * 60 + 2) / 86400.0;
    QCOMPARE(LogLineHead(now, 33302.47), QStringLiteral("2024/04/01 09:15:02.47 "));
    // Hundredths round, so .999 of a second is written as 1.00 after the seconds.
    QCOMPARE(LogLineHead(now, 33302.999), QStringLiteral("2024/04/01 09:15:021.00 "));

    // Two more lines after the two messages above, in the program's folder, each ended by CR LF.
    WriteLog(QStringLiteral("一行目"));
    WriteLog(QStringLiteral("二行目"));
    QCOMPARE(QFileInfo(gLogPath).absoluteFilePath(), QFileInfo(program.path("test_values.log")).absoluteFilePath());
    QFile file(gLogPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith("\xe4\xba\x8c\xe8\xa1\x8c\xe7\x9b\xae\r\n")); // 二行目 in UTF-8
    QCOMPARE(bytes.count("\r\n"), 4);
    // A log that cannot be written loses the line and nothing else happens.
    gLogPath = program.path(QStringLiteral("no/such/folder/x.log"));
    WriteLog(QStringLiteral("lost"));
    QCOMPARE(MsgBoxEx(QStringLiteral("まだ動く"), Msg::OKOnly), int(Msg::OK));
}

QTEST_GUILESS_MAIN(TestValues)
#include "test_values.moc"
