#pragma once

#include <QString>

// Decimal rounding and the display masks of amounts ("# ##0.000", "##0.000", "#,##0.000", ...).

// The value rounded to `decimals` places as a decimal string ("-1234.568"): the double is first written
// with 18 significant digits, then that decimal text is rounded half away from zero, so that 1.0005 (stored
// as 1.000499999999999989...) rounds as the accountant reads it.
QString roundedDecimal(double value, int decimals);

// A number shown through a mask: '0' a digit always shown, '#' a digit shown when significant, '.' the
// decimal point; a blank or a ',' between the digits of the integer part groups them by thousands with a
// blank. The decimal places are those of the mask. An empty mask gives the shortest exact text.
QString formatNumber(double value, const QString &mask);
