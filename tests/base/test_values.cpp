// Money, variants, the numeric reading, dates and the formats the register prints or stores.
#include "base/Currency.h"
#include "base/DateValue.h"
#include "base/Format.h"
#include "base/Variant.h"
#include "support/Rows.h"

#include <QTest>
#include <limits>

using Rows::money;

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void currencyParsingAndLimits();
    void currencyArithmeticIsExactAndChecked();
    void variantsAndVal();
    void datesAndFormats();
};

void TestValues::currencyParsingAndLimits()
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
}

void TestValues::currencyArithmeticIsExactAndChecked()
{
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

void TestValues::variantsAndVal()
{
    // Empty (never set) and Null (a database Null) differ: only Empty reads as 0.
    QVERIFY(Variant().isEmpty() && !Variant().isNull() && Variant::null().isNull() && Variant().toLong() == 0);
    QVERIFY_THROWS_EXCEPTION(ConversionError, Variant::null().toLong());
    QCOMPARE(Variant(2.5).toLong(), 2); // integer conversion rounds half to even
    QCOMPARE(Variant(3.5).toLong(), 4);
    QCOMPARE(Variant(QStringLiteral("1,234")).toCurrency(), money("1234"));
    QVERIFY_THROWS_EXCEPTION(ConversionError, Variant(QStringLiteral("abc")).toLong());
    QVERIFY_THROWS_EXCEPTION(ConversionError, Variant(3e10).toLong());
    QVERIFY(Variant(QStringLiteral("True")).toBool() && Variant(true).toString() == QStringLiteral("True"));
    QCOMPARE(Variant::date(DateValue::fromParts(2024, 4, 1)).toString(), QStringLiteral("2024/04/01"));

    // Val reads the leading number and ignores blanks; anything else ends it.
    QCOMPARE(Val(QStringLiteral(" 1 2abc")), 12.0);
    QCOMPARE(Val(QStringLiteral("-3.5kg")), -3.5);
    QCOMPARE(Val(QStringLiteral("1.2.3")), 1.2);
    QCOMPARE(Val(QStringLiteral("abc")), 0.0);
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
    QCOMPARE(DateValue::weekday(45383), 2); // 2024-04-01 was a Monday
    QCOMPARE(DateValue::weekday(-1), 6);
    QCOMPARE(*DateValue::parse(QStringLiteral("2024/4/1")), 45383.0);
    QVERIFY(!DateValue::parse(QStringLiteral("2024/02/30")));

    const QDateTime morning(QDate(2024, 3, 1), QTime(9, 5, 2));
    const struct { QDateTime at; const char *pattern, *expected; } cases[] = {
        {morning, "yyyy-mm-dd hh:nn:ss", "2024-03-01 09:05:02"},
        {morning, "yyyy年m月d日(aaa) hh時nn分", "2024年3月1日(金) 09時05分"},
        {morning, "ggg ee 年 mm 月 dd 日", "令和 06 年 03 月 01 日"},
        {QDateTime(QDate(2019, 4, 30), QTime()), "gggee年mm月dd日", "平成31年04月30日"},
        {QDateTime(QDate(2019, 5, 1), QTime()), "gggee年mm月dd日", "令和01年05月01日"},
        {QDateTime(QDate(1989, 1, 7), QTime()), "gggee年", "昭和64年"},
        {QDateTime(QDate(1989, 1, 8), QTime()), "gggee年", "平成01年"},
        {QDateTime(QDate(1912, 7, 30), QTime()), "ggg e", "大正 1"},
        {morning, "h:mm", "9:05"}, // minutes after hours
        {morning, "mmdd", "0301"},
    };
    for (const auto &c : cases)
        QCOMPARE(Format::date(DateValue::fromQDateTime(c.at), QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected));
}

QTEST_GUILESS_MAIN(TestValues)
#include "test_values.moc"
