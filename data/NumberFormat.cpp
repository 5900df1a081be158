#include "data/NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Rounds |v| through its 18 significant digits as decimal text: the digits left of the point, plus one
// when the first digit right of it is 5 or more.
double roundThroughDecimalText(double v) {
    const double magnitude = std::fabs(v);
    char text[40];
    std::snprintf(text, sizeof text, "%.17e", magnitude); // d.ddddddddddddddddde+XX: 18 digits
    char digits[18];
    digits[0] = text[0];
    std::memcpy(digits + 1, text + 2, 17);
    const int exponent = std::atoi(text + 20);
    if (exponent >= 17)
        return v; // no digit right of the point
    qint64 whole = 0;
    for (int i = 0; i <= exponent; ++i)
        whole = whole * 10 + (digits[i] - '0');
    const int firstFraction = exponent + 1; // index of the first digit right of the point
    if (firstFraction >= 0 && digits[firstFraction] >= '5')
        ++whole;
    const double rounded = static_cast<double>(whole);
    return v < 0 ? -rounded : rounded;
}

} // namespace

double roundHalfAwayFrom18Digits(double scaled) {
    if (!std::isfinite(scaled))
        return scaled;
    // Writing the value with 18 digits moves it by half a unit of the 18th digit at most; only a value that
    // close to a half can round otherwise than the value itself, and only those go through the digits.
    const double fraction = std::fabs(scaled - std::trunc(scaled));
    if (std::fabs(fraction - 0.5) > std::fabs(scaled) * 1e-16)
        return std::round(scaled);
    return roundThroughDecimalText(scaled);
}

QString roundedDecimal(double value, int decimals) {
    double factor = 1; // exact: a power of ten up to 10^22
    for (int i = 0; i < decimals; ++i)
        factor *= 10;
    const double rounded = roundHalfAwayFrom18Digits(value * factor);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(rounded)); // the whole double, exactly
    QString whole = QString::fromLatin1(buffer);
    if (whole.size() <= decimals)
        whole.prepend(QString(decimals + 1 - whole.size(), QLatin1Char('0')));
    QString result = whole.left(whole.size() - decimals);
    if (decimals > 0)
        result += QLatin1Char('.') + whole.right(decimals);
    return rounded < 0 ? QLatin1Char('-') + result : result;
}

QString formatNumber(double value, const QString &mask) {
    if (mask.isEmpty())
        return QString::number(value, 'g', 15);
    const qsizetype point = mask.indexOf(QLatin1Char('.'));
    const QString integerMask = point < 0 ? mask : mask.left(point);
    const QString fractionMask = point < 0 ? QString() : mask.mid(point + 1);
    const int decimals =
        static_cast<int>(fractionMask.count(QLatin1Char('0')) + fractionMask.count(QLatin1Char('#')));
    const bool grouped =
        integerMask.trimmed().contains(QLatin1Char(' ')) || integerMask.contains(QLatin1Char(','));
    const int minimumIntegerDigits = static_cast<int>(integerMask.count(QLatin1Char('0')));

    QString text = roundedDecimal(value, decimals);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    QString integer = dot < 0 ? text : text.left(dot);
    QString fraction = dot < 0 ? QString() : text.mid(dot + 1);

    // Optional decimals ('#') drop their trailing zeros.
    const int requiredDecimals = static_cast<int>(fractionMask.count(QLatin1Char('0')));
    while (fraction.size() > requiredDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    if (integer == QLatin1String("0") && minimumIntegerDigits == 0)
        integer.clear();
    while (integer.size() < minimumIntegerDigits)
        integer.prepend(QLatin1Char('0'));
    if (grouped)
        for (qsizetype i = integer.size() - 3; i > 0; i -= 3)
            integer.insert(i, QLatin1Char(' '));

    QString result = integer;
    if (!fraction.isEmpty())
        result += QLatin1Char('.') + fraction;
    return negative ? QLatin1Char('-') + result : result;
}
