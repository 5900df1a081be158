#include "declaration/FieldEncoding.h"

#include "data/Win1252.h"

#include <QDateTime>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// A WIN1252 text into out[0 .. width-1], blank-padded or cut; the ASCII and Latin-1 characters (nearly all)
// are copied without building an array.
void copyText(QStringView text, int width, char *out) {
    const qsizetype n = std::min<qsizetype>(text.size(), width);
    const QChar *in = text.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = in[i].unicode();
        out[i] = c < 0x80 || (c >= 0xA0 && c <= 0xFF) ? static_cast<char>(c)
                                                      : win1252::encode(QString(in[i])).at(0);
    }
    std::memset(out + n, ' ', static_cast<std::size_t>(width - n));
}

QByteArray textBytes(const QVariant &value) {
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return win1252::encode(value.toString());
}

void copyPadded(const char *data, qsizetype size, int width, char *out) {
    const auto n = static_cast<std::size_t>(std::min<qsizetype>(size, width));
    std::memcpy(out, data, n);
    std::memset(out + n, ' ', static_cast<std::size_t>(width) - n);
}

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

Fault scaledToWhole(const QVariant &value, double scale, qint64 *whole) {
    const int type = value.typeId();
    if (type == QMetaType::UnknownType || value.isNull()) {
        *whole = 0;
        return Fault::None;
    }
    bool ok = true;
    // The amounts of the tables come as doubles: read them without the variant's conversions.
    const double v = type == QMetaType::Double    ? *static_cast<const double *>(value.constData())
                     : type == QMetaType::QString ? value.toString().trimmed().toDouble(&ok)
                                                  : value.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return Fault::NotANumber;
    const double r = roundHalfAwayFrom18Digits(v * scale);
    if (r < 0)
        return Fault::Negative;
    if (r >= 9.0e18)
        return Fault::TooManyDigits;
    *whole = static_cast<qint64>(r);
    return Fault::None;
}

} // namespace

std::optional<qint64> wholeNumber(const QByteArray &text) {
    // Blanks around the digits are the column's own padding (a CHAR(2) holds "7" as "7 ").
    const QByteArray digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9')
            return std::nullopt;
    return digits.toLongLong();
}

Fault writeDigits(qint64 value, int width, char *out) {
    if (value < 0)
        return Fault::Negative;
    std::memset(out, '0', static_cast<std::size_t>(width));
    for (int i = width - 1; value > 0 && i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return value == 0 ? Fault::None : Fault::TooManyDigits;
}

Fault toMillimes(const QVariant &dinars, qint64 *millimes) {
    return scaledToWhole(dinars, 1000.0, millimes);
}

Fault encodeField(Encoding encoding, const QVariant &value, int width, char *out) {
    qint64 whole = 0;
    Fault fault = Fault::None;
    switch (encoding) {
    case Encoding::Amount: fault = scaledToWhole(value, 1000.0, &whole); break;
    case Encoding::Rate: fault = scaledToWhole(value, 100.0, &whole); break;
    case Encoding::Count: fault = scaledToWhole(value, 1.0, &whole); break;
    case Encoding::WholeNumberText: {
        const QByteArray text = textBytes(value).trimmed();
        if (text.size() > 18)
            return Fault::TooManyDigits;
        const std::optional<qint64> number = wholeNumber(text);
        if (!number)
            return Fault::NotAWholeNumber;
        whole = *number;
        break;
    }
    case Encoding::Date: {
        const QDate date = value.typeId() == QMetaType::QDate ? value.toDate() : value.toDateTime().date();
        const QByteArray text = value.isNull() || !date.isValid()
                                    ? QByteArrayLiteral("30121899")
                                    : date.toString(QStringLiteral("ddMMyyyy")).toLatin1();
        copyPadded(text.constData(), text.size(), width, out);
        return Fault::None;
    }
    case Encoding::StoredText:
        if (value.typeId() == QMetaType::QByteArray) {
            const QByteArray text = value.toByteArray();
            copyPadded(text.constData(), text.size(), width, out);
        } else {
            copyText(value.toString(), width, out);
        }
        return Fault::None;
    case Encoding::TrimmedText: {
        if (value.typeId() == QMetaType::QByteArray) {
            const QByteArray text = value.toByteArray();
            qsizetype begin = 0, end = text.size();
            while (begin < end && isBlank(text.at(begin)))
                ++begin;
            while (end > begin && isBlank(text.at(end - 1)))
                --end;
            copyPadded(text.constData() + begin, end - begin, width, out);
        } else {
            const QString text = value.toString();
            qsizetype begin = 0, end = text.size();
            while (begin < end && text.at(begin).unicode() <= ' ')
                ++begin;
            while (end > begin && text.at(end - 1).unicode() <= ' ')
                --end;
            copyText(QStringView(text).sliced(begin, end - begin), width, out);
        }
        return Fault::None;
    }
    case Encoding::Filler: std::memset(out, ' ', static_cast<std::size_t>(width)); return Fault::None;
    }
    if (fault != Fault::None)
        return fault;
    return writeDigits(whole, width, out);
}

QByteArray encodedField(Encoding encoding, const QVariant &value, int width, Fault *fault) {
    QByteArray out(width, ' ');
    const Fault f = encodeField(encoding, value, width, out.data());
    if (fault)
        *fault = f;
    return out;
}

QString faultText(Fault fault, int width) {
    switch (fault) {
    case Fault::None: return {};
    case Fault::Negative: return QStringLiteral("est négatif");
    case Fault::TooManyDigits: return QStringLiteral("dépasse les %1 chiffres de sa zone").arg(width);
    case Fault::NotANumber: return QStringLiteral("n'est pas un nombre");
    case Fault::NotAWholeNumber: return QStringLiteral("n'est pas un nombre entier");
    }
    return {};
}
