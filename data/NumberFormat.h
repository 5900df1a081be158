#pragma once

#include <QString>

// Decimal rounding and the display masks of amounts ("# ##0.000", "##0.000", "#,##0.000", ...).

// The value rounded to `decimals` places as a decimal string ("-1234.568"), by the rule of the declaration
// files: the value times 10^decimals is taken to 18 significant digits, then rounded to a whole number, a
// half away from zero; so 1.0005 (stored as 1.000499999999999989...) rounds up as the accountant reads it.
QString roundedDecimal(double value, int decimals);

// A value already multiplied by its power of ten, taken to 18 significant digits and rounded to a whole
// number, a half away from zero: the rounding of every amount, rate and count of the declaration files.
double roundHalfAwayFrom18Digits(double scaled);

// A number shown through a mask: '0' a digit always shown, '#' a digit shown when significant, '.' the
// decimal point; a blank or a ',' between the digits of the integer part groups them by thousands with a
// blank. The decimal places are those of the mask. An empty mask gives the shortest exact text.
QString formatNumber(double value, const QString &mask);
