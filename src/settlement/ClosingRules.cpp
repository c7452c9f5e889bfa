#include "settlement/ClosingRules.h"

#include "base/Common.h"
#include "base/DateValue.h"
#include "base/Format.h"
#include "data/Globals.h"
#include "data/clsMst.h"

#include <QDate>
#include <cmath>

namespace {

// Closing days above 27 all mean the month end.
constexpr int kMonthEnd = 99;

int setting(clsData &master, const QString &key, int fallback)
{
    const Variant v = master.GetCtrl(key);
    if (v.isEmpty() || v.isNull())
        return fallback;
    const double n = v.isNumeric() ? v.toDouble() : Val(v.toString());
    return int(std::lrint(n));
}

int monthDay(int day)
{
    return day > 27 ? kMonthEnd : day;
}

// The day of d's month, or kMonthEnd on its last day.
int dayInMonth(const QDate &d)
{
    return d.day() == d.daysInMonth() ? kMonthEnd : d.day();
}

// Day `day` of the month of `first` (kMonthEnd: its last day).
double dayOfMonth(QDate first, int day)
{
    first = QDate(first.year(), first.month(), 1);
    if (day == kMonthEnd)
        return DateValue::fromQDate(first.addDays(first.daysInMonth() - 1));
    return DateValue::fromQDate(first) + day - 1;
}

// A rule that gives no date: the zero date, and what the operator has to set to get one.
double failed(QString *problem, const QString &why)
{
    if (problem)
        *problem = why;
    return 0;
}

// "月締１", "週締２": the rows of 支払情報 as the operator reads them there.
QString settingRow(const char *kind, int index)
{
    return QString::fromUtf8(kind) + QChar(0xFF11 + index);
}

// Closing days are used from the first row on: without it no period ends after the later ones.
QString noClosingDay(int type)
{
    return type == ClosingRules::Weekly
        ? QStringLiteral("支払情報の「%1」に締曜日が設定されていません。").arg(settingRow("週締", 0))
        : QStringLiteral("支払情報の「%1」に締日が設定されていません。").arg(settingRow("月締", 0));
}

QString shown(double d)
{
    return Format::date(d, QStringLiteral("yyyy/mm/dd"));
}

} // namespace

ClosingRules ClosingRules::read(clsData &master)
{
    ClosingRules r;
    r.type = setting(master, QStringLiteral("CLS_TYPE"), Daily);
    r.siteDay = setting(master, QStringLiteral("CLS_SITE_DAY"), 0);
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        r.month[i] = setting(master, QStringLiteral("CLS_M_") + n, 0);
        r.monthSite[i] = setting(master, QStringLiteral("CLS_M_SITE") + n, 0);
        r.monthPay[i] = setting(master, QStringLiteral("CLS_M_PAY") + n, 0);
    }
    for (int i = 0; i < 2; ++i) {
        const QString n = QString::number(i + 1);
        r.week[i] = setting(master, QStringLiteral("CLS_W_") + n, 0);
        r.weekSite[i] = setting(master, QStringLiteral("CLS_W_SITE") + n, 0);
        r.weekPay[i] = setting(master, QStringLiteral("CLS_W_PAY") + n, 0);
    }
    return r;
}

double ClosingRules::closingDate(double d, QString *problem) const
{
    d = DateValue::dateOnly(d);
    if (type == Monthly) {
        const QDate date = DateValue::toQDate(d);
        const int dd = dayInMonth(date);
        for (int m : month) {
            if (monthDay(m) >= dd)
                return dayOfMonth(date, monthDay(m));
        }
        if (month[0] < 1)
            return failed(problem, noClosingDay(type));
        return dayOfMonth(date.addMonths(1), monthDay(month[0]));
    }
    if (type == Weekly) {
        const int wd = DateValue::weekday(d);
        const double base = d - wd; // the Saturday before d's week
        if (week[0] >= wd)
            return base + week[0];
        if (week[1] >= wd)
            return base + week[1];
        if (week[0] < 1)
            return failed(problem, noClosingDay(type));
        return base + week[0] + 7;
    }
    return d;
}

double ClosingRules::paymentDate(double c, QString *problem) const
{
    c = DateValue::dateOnly(c);
    double p = 0;
    QString row;
    if (type == Weekly) {
        const int wd = DateValue::weekday(c);
        int set = 0;
        if (week[0] >= wd)
            set = 0;
        else if (week[1] >= wd)
            set = 1;
        else if (week[0] < 1)
            return failed(problem, noClosingDay(type));
        p = (c - wd) + weekSite[set] * 7 + weekPay[set];
        row = QStringLiteral("「%1」のサイト週か支払曜日").arg(settingRow("週締", set));
    } else if (type == Monthly) {
        const QDate date = DateValue::toQDate(c);
        const int dd = dayInMonth(date);
        int set = 2;
        if (monthDay(month[0]) >= dd)
            set = 0;
        else if (monthDay(month[1]) >= dd)
            set = 1;
        else if (monthDay(month[2]) < dd) {
            if (month[0] < 1)
                return failed(problem, noClosingDay(type));
            set = 0;
        }
        const QDate first = QDate(date.year(), date.month(), 1).addMonths(monthSite[set]);
        const int pay = monthPay[set];
        // Days below 28 count from the first of the month (day 0 is the day before it); 28 and above are the
        // month end.
        p = pay < 28 ? DateValue::fromQDate(first) + pay - 1 : dayOfMonth(first, kMonthEnd);
        row = QStringLiteral("「%1」のサイト月か支払日").arg(settingRow("月締", set));
    } else {
        p = c + siteDay;
        row = QStringLiteral("「日締支払迄日数」");
    }
    if (p < c) {
        return failed(problem, QStringLiteral("支払日 %1 が締日 %2 より前になります。支払情報の%3を直して下さい。")
                                   .arg(shown(p), shown(c), row));
    }
    const int wd = DateValue::weekday(p);
    if (wd == 1)
        p += 1;
    else if (wd == 7)
        p += 2;
    return p;
}

double GetClsDate(double d)
{
    const ClosingRules rules = ClosingRules::read(*gMst);
    const double c = rules.closingDate(d);
    if (c == 0 && rules.type == ClosingRules::Weekly)
        MsgBoxEx(QStringLiteral("締日取得エラー"), Msg::Critical);
    return c;
}

double GetPayDate(double c)
{
    const double p = ClosingRules::read(*gMst).paymentDate(c);
    if (p == 0)
        MsgBoxEx(QStringLiteral("支払日取得エラー"), Msg::Critical);
    return p;
}
