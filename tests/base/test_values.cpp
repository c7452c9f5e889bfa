// Money, variants, the numeric reading, dates and every format the register prints or stores.
#include "base/Currency.h"
#include "base/DateValue.h"
#include "base/Format.h"
#include "base/Variant.h"

#include <QTest>
#include <limits>

class TestValues : public QObject
{
    Q_OBJECT

private slots:
    void currencyParsingAndText();
    void currencyArithmeticIsExactAndChecked();
    void variantKindsAndConversions();
    void val();
    void numberFormats_data();
    void numberFormats();
    void dateValues();
    void dateFormats_data();
    void dateFormats();
};

static Currency money(const char *text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

void TestValues::currencyParsingAndText()
{
    QCOMPARE(money("1200").toPlainText(), QStringLiteral("1200"));
    QCOMPARE(money("1234.50").toPlainText(), QStringLiteral("1234.5"));
    QCOMPARE(money("-0.08").toPlainText(), QStringLiteral("-0.08"));
    QCOMPARE(money(" 12 ").raw(), 120000);
    QCOMPARE(money("0.00005").raw(), 0);   // half to even at the fifth decimal
    QCOMPARE(money("0.00015").raw(), 2);
    QCOMPARE(money("1e3").raw(), 10000000);
    QVERIFY(!Currency::parse(QStringLiteral("12a")));
    QVERIFY(!Currency::parse(QStringLiteral("")));
    QVERIFY(!Currency::parse(QStringLiteral("99999999999999999999")));
    QCOMPARE(Currency::fromDouble(2.41).toPlainText(), QStringLiteral("2.41"));
    QCOMPARE(Currency::fromDouble(0.1 + 0.2).toPlainText(), QStringLiteral("0.3"));
    QCOMPARE(Currency::fromRaw(std::numeric_limits<int64_t>::max()).toPlainText(),
             QStringLiteral("922337203685477.5807"));
    QCOMPARE(Currency::fromRaw(std::numeric_limits<int64_t>::min()).toPlainText(),
             QStringLiteral("-922337203685477.5808"));
}

void TestValues::currencyArithmeticIsExactAndChecked()
{
    QCOMPARE((money("12345") * money("0.15")).toPlainText(), QStringLiteral("1851.75"));
    QCOMPARE((money("0.1") + money("0.2")), money("0.3"));
    QCOMPARE((money("10") / money("3")).toPlainText(), QStringLiteral("3.3333"));
    QCOMPARE((money("0.0001") * money("0.5")).raw(), 0);  // 0.00005 to even
    QCOMPARE((money("0.0003") * money("0.5")).raw(), 2);  // 0.00015 to even
    QVERIFY_THROWS_EXCEPTION(std::overflow_error,
                             Currency::fromRaw(std::numeric_limits<int64_t>::max()) + money("0.0001"));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, money("900000000000000") * money("100"));
    QVERIFY_THROWS_EXCEPTION(std::domain_error, money("1") / Currency());
    QVERIFY(money("-1") < money("0"));
}

void TestValues::variantKindsAndConversions()
{
    QVERIFY(Variant().isEmpty());
    QVERIFY(!Variant().isNull());
    QVERIFY(Variant::null().isNull());
    QVERIFY(Variant() != Variant::null());
    QCOMPARE(Variant().toLong(), 0);
    QCOMPARE(Variant().toString(), QString());
    QVERIFY_THROWS_EXCEPTION(ConversionError, Variant::null().toLong());

    QCOMPARE(Variant(QStringLiteral("12")).toLong(), 12);
    QCOMPARE(Variant(2.5).toLong(), 2);       // integer conversion rounds half to even
    QCOMPARE(Variant(3.5).toLong(), 4);
    QCOMPARE(Variant(QStringLiteral("0.08")).toCurrency(), money("0.08"));
    QCOMPARE(Variant(QStringLiteral("1,234")).toCurrency(), money("1234"));
    QVERIFY_THROWS_EXCEPTION(ConversionError, Variant(QStringLiteral("abc")).toLong());
    QVERIFY_THROWS_EXCEPTION(ConversionError, Variant(3e10).toLong());

    QCOMPARE(Variant(QStringLiteral("True")).toBool(), true);
    QCOMPARE(Variant(QStringLiteral("false")).toBool(), false);
    QCOMPARE(Variant(QStringLiteral("1")).toBool(), true);
    QCOMPARE(Variant(true).toString(), QStringLiteral("True"));
    QCOMPARE(Variant(money("1234.5")).toString(), QStringLiteral("1234.5"));

    const Variant d = Variant::date(DateValue::fromParts(2024, 4, 1));
    QCOMPARE(d.toString(), QStringLiteral("2024/04/01"));
    QCOMPARE(Variant(QStringLiteral("2024/04/01 00:00:00")).toDate(), 45383.0);
    QCOMPARE(Variant::fromQVariant(QVariant(qint64(1) << 40)).kind(), Variant::Kind::Double);
    QCOMPARE(Variant::fromQVariant(QVariant()).kind(), Variant::Kind::Null);
}

void TestValues::val()
{
    QCOMPARE(Val(QStringLiteral("12abc")), 12.0);
    QCOMPARE(Val(QStringLiteral("abc")), 0.0);
    QCOMPARE(Val(QStringLiteral(" 1 2 ")), 12.0);
    QCOMPARE(Val(QStringLiteral("-3.5kg")), -3.5);
    QCOMPARE(Val(QStringLiteral("1e2")), 100.0);
    QCOMPARE(Val(QStringLiteral("1.2.3")), 1.2);
    QCOMPARE(Val(QStringLiteral("12E")), 12.0);
    QCOMPARE(Val(QString()), 0.0);
}

void TestValues::numberFormats_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("grouping") << "1234567" << "#,##0" << "1,234,567";
    QTest::newRow("grouping negative") << "-1234" << "#,##0" << "-1,234";
    QTest::newRow("grouping zero") << "0" << "#,##0" << "0";
    QTest::newRow("grouping rounds half up") << "1234.5" << "#,##0" << "1,235";
    QTest::newRow("grouping rounds half away") << "-0.5" << "#,##0" << "-1";
    QTest::newRow("plain") << "1234.5" << "0" << "1235";
    QTest::newRow("one decimal") << "8" << "0.0" << "8.0";
    QTest::newRow("one decimal rounding") << "8.45" << "0.0" << "8.5";
    QTest::newRow("two decimals") << "1.5" << "0.00" << "1.50";
    QTest::newRow("fraction only") << "0.47" << ".00 " << ".47 ";
    QTest::newRow("fraction carries") << "0.999" << ".00 " << "1.00 ";
    QTest::newRow("literal suffix") << "1500" << "#,##0円" << "1,500円";
}

void TestValues::numberFormats()
{
    QFETCH(QString, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(Format::number(*Currency::parse(value), pattern), expected);
}

void TestValues::dateValues()
{
    QCOMPARE(DateValue::fromQDate(QDate(1899, 12, 30)), 0.0);
    QCOMPARE(DateValue::fromQDate(QDate(2000, 1, 1)), 36526.0);
    QCOMPARE(DateValue::toQDate(45383.75), QDate(2024, 4, 1));
    QCOMPARE(DateValue::toQDateTime(45383.75), QDateTime(QDate(2024, 4, 1), QTime(18, 0)));
    QCOMPARE(DateValue::toQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    QCOMPARE(DateValue::weekday(45383), 2);  // 2024-04-01 was a Monday
    QCOMPARE(DateValue::weekday(0), 7);      // 1899-12-30 was a Saturday
    QCOMPARE(DateValue::weekday(-1), 6);
    QCOMPARE(*DateValue::parse(QStringLiteral("2024-04-01 00:00:00")), 45383.0);
    QCOMPARE(*DateValue::parse(QStringLiteral("2024/4/1")), 45383.0);
    QVERIFY(!DateValue::parse(QStringLiteral("2024/02/30")));
    QVERIFY(!DateValue::parse(QStringLiteral("yesterday")));
}

void TestValues::dateFormats_data()
{
    QTest::addColumn<QDateTime>("at");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    const QDateTime morning(QDate(2024, 3, 1), QTime(9, 5, 2));
    QTest::newRow("sql") << morning << "yyyy-mm-dd hh:nn:ss" << "2024-03-01 09:05:02";
    QTest::newRow("slashes") << morning << "yyyy/mm/dd" << "2024/03/01";
    QTest::newRow("month/day") << morning << "m/d" << "3/1";
    QTest::newRow("month heading") << morning << "yyyy年m月" << "2024年3月";
    QTest::newRow("receipt head") << morning << "yyyy年m月d日(aaa) hh時nn分" << "2024年3月1日(金) 09時05分";
    QTest::newRow("era with blanks") << morning << "ggg ee 年 mm 月 dd 日" << "令和 06 年 03 月 01 日";
    QTest::newRow("era compact") << morning << "gggee年mm月dd日" << "令和06年03月01日";
    QTest::newRow("last day of Heisei") << QDateTime(QDate(2019, 4, 30), QTime()) << "gggee年mm月dd日" << "平成31年04月30日";
    QTest::newRow("first day of Reiwa") << QDateTime(QDate(2019, 5, 1), QTime()) << "gggee年mm月dd日" << "令和01年05月01日";
    QTest::newRow("Showa") << QDateTime(QDate(1989, 1, 7), QTime()) << "gggee年" << "昭和64年";
    QTest::newRow("Heisei starts") << QDateTime(QDate(1989, 1, 8), QTime()) << "gggee年" << "平成01年";
    QTest::newRow("Taisho") << QDateTime(QDate(1912, 7, 30), QTime()) << "ggg e" << "大正 1";
    QTest::newRow("minutes after hours") << morning << "h:mm" << "9:05";
    QTest::newRow("flower day") << morning << "mmdd" << "0301";
}

void TestValues::dateFormats()
{
    QFETCH(QDateTime, at);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(Format::date(DateValue::fromQDateTime(at), pattern), expected);
}

QTEST_GUILESS_MAIN(TestValues)
#include "test_values.moc"
