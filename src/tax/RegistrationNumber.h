#pragma once

#include <QString>

// The shop's registration number as an issuer of qualified invoices: "T" and thirteen digits, the
// corporate number (an individual gets a number of the same form). Its first digit checks the other
// twelve: 9 - (the sum of each digit times 1 or 2, counted from the right with 1 on the last digit,
// divided by 9, its remainder), so it runs from 1 to 9.
namespace RegistrationNumber {

// The control value of the master database that holds it.
inline constexpr const char *Key = "COM_REG_NO";

// The check digit of twelve digits; -1 when the text is not twelve digits.
int CheckDigit(const QString &twelveDigits);
// The text as the operator may type it, made plain: full-width characters as plain ones, blanks and
// hyphens dropped, "t" as "T".
QString Normalized(const QString &typed);
// Empty when the text is a valid number; otherwise the message that tells what is wrong.
QString Problem(const QString &number);
inline bool IsValid(const QString &number) { return Problem(number).isEmpty(); }

} // namespace RegistrationNumber
