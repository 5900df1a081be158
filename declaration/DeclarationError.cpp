#include "declaration/DeclarationError.h"

#include <QLocale>
#include <algorithm>

QString annexName(int annex) {
    static const char *const roman[] = {"I", "II", "III", "IV", "V", "VI", "VII"};
    return QStringLiteral("Annexe ") + QLatin1String(roman[std::clamp(annex, 1, 7) - 1]);
}

QString shownNumber(double value, int decimals) {
    QLocale french(QLocale::French);
    french.setNumberOptions(QLocale::OmitGroupSeparator);
    return french.toString(value, 'f', decimals);
}
