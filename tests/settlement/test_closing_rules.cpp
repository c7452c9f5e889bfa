// When a producer closing period ends and when it is paid: daily, weekly and monthly closing with month ends,
// three monthly sets and the weekend shift, and the settings they are read from.
#include "support/Rows.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "settlement/ClosingRules.h"
#include "data/Globals.h"
#include "data/clsMst.h"
#include "support/TestProgram.h"

#include <QDate>
#include <QTest>

using namespace Rows;

namespace {

QString text(double date)
{
    return date == 0 ? QStringLiteral("zero") : Format::date(date, QStringLiteral("yyyy-mm-dd(aaa)"));
}

double iso(const QString &date)
{
    return DateValue::fromQDate(QDate::fromString(date, Qt::ISODate));
}

// "M 15/0/25 31/1/10": monthly sets of closing day/site/payment day; "W 7/1/5": weekly sets of closing
// weekday/site weeks/payment weekday; "D1 3": closing type 1 (daily) paid 3 days later.
ClosingRules rules(const char *setting)
{
    const QStringList parts = QString::fromLatin1(setting).split(u' ');
    ClosingRules r;
    r.type = parts[0] == u'M' ? ClosingRules::Monthly : parts[0] == u'W' ? ClosingRules::Weekly : parts[0].mid(1).toInt();
    for (int i = 0; i + 1 < parts.size(); ++i) {
        const QStringList v = parts[i + 1].split(u'/');
        if (r.type == ClosingRules::Monthly)
            std::tie(r.month[i], r.monthSite[i], r.monthPay[i]) = std::tuple(v[0].toInt(), v[1].toInt(), v[2].toInt());
        else if (r.type == ClosingRules::Weekly)
            std::tie(r.week[i], r.weekSite[i], r.weekPay[i]) = std::tuple(v[0].toInt(), v[1].toInt(), v[2].toInt());
        else
            r.siteDay = v[0].toInt();
    }
    return r;
}

} // namespace

class TestClosingRules : public QObject
{
    Q_OBJECT

private slots:
    void closingAndPayment();
    void missingSettingsAreNamed();
    void settingsComeFromTheMaster();
};

void TestClosingRules::closingAndPayment()
{
    // What the rules give: sales date, closing date, payment date of that closing.
    const struct { const char *name, *setting, *dates; } rows[] = {
        {"before the 15th", "M 15/0/25 31/1/10", "2024-04-05 2024-04-15 2024-04-25"},
        {"on the 15th", "M 15/0/25 31/1/10", "2024-04-15 2024-04-15 2024-04-25"},
        {"second closing, second set", "M 15/0/25 31/1/10", "2024-04-16 2024-04-30 2024-05-10"},
        {"25 May is a Saturday", "M 15/0/25 31/1/10", "2024-05-15 2024-05-15 2024-05-27"},
        {"leap February, 10 March a Sunday", "M 15/0/25 31/1/10", "2024-02-20 2024-02-29 2024-03-11"},
        {"first of three", "M 5/0/25 15/1/10 31/2/20", "2024-04-01 2024-04-05 2024-04-25"},
        {"second of three", "M 5/0/25 15/1/10 31/2/20", "2024-04-12 2024-04-15 2024-05-10"},
        {"third of three", "M 5/0/25 15/1/10 31/2/20", "2024-04-20 2024-04-30 2024-06-20"},
        {"after the last: next month's first", "M 10/1/6 25/1/20", "2024-03-26 2024-04-10 2024-05-06"},
        // Closing days above 27 are the month end; so are payment days from 28 on.
        {"28 in February 2023", "M 28/1/28", "2023-02-10 2023-02-28 2023-03-31"},
        {"28 is the month end, not the 28th", "M 28/1/25", "2024-02-28 2024-02-29 2024-03-25"},
        {"the 27th is past", "M 27/0/31", "2024-02-29 2024-03-27 2024-04-01"},
        {"a 30-day month", "M 25/0/0 31/1/31", "2024-04-30 2024-04-30 2024-05-31"},
        {"Sunday to Saturday", "W 7/1/5", "2024-03-03 2024-03-09 2024-03-14"},
        {"the next week", "W 7/1/5", "2024-03-10 2024-03-16 2024-03-21"},
        {"Wednesday, paid Friday", "W 4/0/6 7/1/3", "2024-03-05 2024-03-06 2024-03-08"},
        {"Saturday, paid Tuesday", "W 4/0/6 7/1/3", "2024-03-07 2024-03-09 2024-03-12"},
        {"after both: next Monday", "W 2/1/2 4/0/0", "2024-03-08 2024-03-11 2024-03-18"},
        {"daily, Sunday to Monday", "D1 3", "2024-03-07 2024-03-07 2024-03-11"},
        {"type 0 is daily, Saturday", "D0 0", "2024-03-09 2024-03-09 2024-03-11"},
    };
    for (const auto &row : rows) {
        const QStringList dates = QString::fromLatin1(row.dates).split(u' ');
        const ClosingRules r = rules(row.setting);
        QString problem;
        const double closing = r.closingDate(iso(dates[0]), &problem);
        const QString got = text(closing) + u' ' + text(r.paymentDate(closing, &problem)) + problem;
        QVERIFY2(got == text(iso(dates[1])) + u' ' + text(iso(dates[2])), qPrintable(QString::fromLatin1(row.name) + u' ' + got));
    }
}

void TestClosingRules::missingSettingsAreNamed()
{
    // A rule without a date gives the zero date and names the row of 支払情報 to fix; the caller tells.
    QString problem;
    QCOMPARE(rules("W 0/0/0").closingDate(iso("2024-03-06"), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払情報の「週締１」に締曜日が設定されていません。"));
    QCOMPARE(rules("M 0/0/0").paymentDate(iso("2024-03-10"), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払情報の「月締１」に締日が設定されていません。"));
    // A payment date before the closing date: the 5th of the closing month, a Monday for a Wednesday closing.
    QCOMPARE(rules("M 10/0/5").paymentDate(iso("2024-03-10"), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払日 2024/03/05 が締日 2024/03/10 より前になります。"
                                     "支払情報の「月締１」のサイト月か支払日を直して下さい。"));
    QCOMPARE(rules("W 1/0/0 4/0/2").paymentDate(iso("2024-03-06"), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払日 2024/03/04 が締日 2024/03/06 より前になります。"
                                     "支払情報の「週締２」のサイト週か支払曜日を直して下さい。"));
}

void TestClosingRules::settingsComeFromTheMaster()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    const auto fields = [](const ClosingRules &r) {
        QList<int> out{r.type, r.siteDay};
        for (int i = 0; i < 3; ++i)
            out << r.month[i] << r.monthSite[i] << r.monthPay[i];
        for (int i = 0; i < 2; ++i)
            out << r.week[i] << r.weekSite[i] << r.weekPay[i];
        return out;
    };
    // Every row of 支払情報 by its key, in the order of the fields above.
    const char *const keys[] = {"CLS_TYPE", "CLS_SITE_DAY", "CLS_M_1", "CLS_M_SITE1", "CLS_M_PAY1", "CLS_M_2", "CLS_M_SITE2",
                                "CLS_M_PAY2", "CLS_M_3", "CLS_M_SITE3", "CLS_M_PAY3", "CLS_W_1", "CLS_W_SITE1", "CLS_W_PAY1",
                                "CLS_W_2", "CLS_W_SITE2", "CLS_W_PAY2"};
    QList<int> stored;
    for (const char *key : keys) {
        stored << int(stored.size()) + 2;
        master(key, QString::number(stored.last()));
    }
    QCOMPARE(fields(ClosingRules::read(*gMst)), stored);
    // Missing or Null: daily closing, everything else 0.
    gMst->EXEC(QStringLiteral("DELETE FROM S_CTRL WHERE CTRL_CD LIKE 'CLS_%'"));
    master("CLS_M_1", QString());
    QCOMPARE(fields(ClosingRules::read(*gMst)), QList<int>{1} + QList<int>(16, 0));
}

QTEST_GUILESS_MAIN(TestClosingRules)
#include "test_closing_rules.moc"
