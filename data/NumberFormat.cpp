#include "data/NumberFormat.h"

#include <QRegularExpression>
#include <cstdio>

QString roundedDecimal(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17e", value); // 18 significant digits: d.ddddddddddddddddde±x
    const QString text = QString::fromLatin1(buffer);
    const bool negative = text.startsWith(QLatin1Char('-'));
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    QString mantissa = text.mid(negative ? 1 : 0, e - (negative ? 1 : 0));
    mantissa.remove(QLatin1Char('.'));
    const int exponent = text.mid(e + 1).toInt();

    // digits holds the value as an integer times 10^-scale.
    QString digits = mantissa;
    int pointPos = exponent + 1; // digits before the decimal point
    if (pointPos <= 0) {
        digits.prepend(QString(-pointPos + 1, QLatin1Char('0')));
        pointPos = 1;
    }
    if (digits.size() < pointPos + decimals + 1)
        digits.append(QString(pointPos + decimals + 1 - digits.size(), QLatin1Char('0')));
    const bool roundUp = digits.at(pointPos + decimals) >= QLatin1Char('5');
    digits.truncate(pointPos + decimals);
    if (roundUp) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0; --i) {
            if (digits[i] == QLatin1Char('9')) {
                digits[i] = QLatin1Char('0');
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            digits.prepend(QLatin1Char('1'));
            ++pointPos;
        }
    }
    QString integer = digits.left(pointPos);
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    QString result = integer;
    if (decimals > 0)
        result += QLatin1Char('.') + digits.mid(pointPos);
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
