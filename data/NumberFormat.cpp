#include "data/NumberFormat.h"

#include <QRegularExpression>
#include <cstdio>

QString roundedDecimal(double value, int decimals) {
    double factor = 1; // exact: a power of ten up to 10^22
    for (int i = 0; i < decimals; ++i)
        factor *= 10;
    const double scaled = value * factor;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17e", scaled); // 18 significant digits: d.ddddddddddddddddde±x
    const QString text = QString::fromLatin1(buffer);
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    QString digits = text.mid(negative ? 1 : 0, e - (negative ? 1 : 0));
    digits.remove(QLatin1Char('.'));
    const int exponent = text.mid(e + 1).toInt();

    // The whole number of the scaled value, rounded half away from zero at its units digit.
    const int units = exponent + 1; // digits before the decimal point
    QString whole;
    bool roundUp = false;
    if (units <= 0) {
        roundUp = units == 0 && digits.at(0) >= QLatin1Char('5');
        whole = QStringLiteral("0");
    } else {
        if (digits.size() < units + 1)
            digits.append(QString(units + 1 - digits.size(), QLatin1Char('0')));
        roundUp = digits.at(units) >= QLatin1Char('5');
        whole = digits.left(units);
    }
    if (roundUp) {
        qsizetype i = whole.size() - 1;
        for (; i >= 0 && whole[i] == QLatin1Char('9'); --i)
            whole[i] = QLatin1Char('0');
        if (i < 0)
            whole.prepend(QLatin1Char('1'));
        else
            whole[i] = QChar(whole[i].unicode() + 1);
    }
    if (whole.size() <= decimals)
        whole.prepend(QString(decimals + 1 - whole.size(), QLatin1Char('0')));
    QString result = whole.left(whole.size() - decimals);
    if (decimals > 0)
        result += QLatin1Char('.') + whole.right(decimals);
    const bool zero = !result.contains(QRegularExpression(QStringLiteral("[1-9]")));
    return negative && !zero ? QLatin1Char('-') + result : result;
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
