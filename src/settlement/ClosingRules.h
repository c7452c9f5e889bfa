#pragma once

#include <QString>

class clsData;

// When a producer closing period ends and when it is paid, from the shop's closing settings (control values
// of the master database). Dates are date values without time; the zero date (0) stands for "no date".
struct ClosingRules
{
    enum Type { Daily = 1, Weekly = 2, Monthly = 3 };

    int type = Daily;          // CLS_TYPE; any value other than 2 or 3 closes daily
    int siteDay = 0;           // CLS_SITE_DAY: days from a daily closing to its payment
    int month[3] = {0, 0, 0};  // CLS_M_1..3: closing days, above 27 = the month end, 0 = unused
    int monthSite[3] = {0, 0, 0};
    int monthPay[3] = {0, 0, 0};
    int week[2] = {0, 0};      // CLS_W_1..2: closing weekdays, 1 = Sunday .. 7 = Saturday, 0 = unused
    int weekSite[2] = {0, 0};
    int weekPay[2] = {0, 0};

    // The settings as stored now; a missing or Null value counts as its default (type 1, everything else 0).
    static ClosingRules read(clsData &master);

    // The closing date of the period that holds sales date d. A weekly setting without any closing weekday
    // that lies after d's weekday, or a monthly one without closing days, gives the zero date; problem then
    // tells which setting of 支払情報 to fix, in the operator's words.
    double closingDate(double d, QString *problem = nullptr) const;
    // The payment date of the period closed on c, moved from a weekend to the Monday after. A setting that
    // gives no payment date, or one before c, gives the zero date and says why in problem.
    double paymentDate(double c, QString *problem = nullptr) const;
};

// The same for the shop's settings read afresh from gMst. A date that cannot be given is told to the
// operator as "締日取得エラー" (weekly closing only; a monthly one stays silent) or "支払日取得エラー".
double GetClsDate(double d);
double GetPayDate(double c);
