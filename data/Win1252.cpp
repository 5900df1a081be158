#include "data/Win1252.h"

#include <array>
#include <unordered_map>

namespace win1252 {
namespace {

// Code points of the bytes 0x80 to 0x9F; the undefined ones keep their own value.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const std::unordered_map<char16_t, char> &reverseHigh() {
    static const std::unordered_map<char16_t, char> map = [] {
        std::unordered_map<char16_t, char> m;
        for (std::size_t i = 0; i < kHigh.size(); ++i)
            m.emplace(kHigh[i], static_cast<char>(0x80 + i));
        return m;
    }();
    return map;
}

} // namespace

QString decode(const char *data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        dst[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray encode(const QString &text, bool *ok) {
    QByteArray out(text.size(), Qt::Uninitialized);
    bool allMapped = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out[i] = static_cast<char>(c);
            continue;
        }
        const auto &rev = reverseHigh();
        const auto it = rev.find(c);
        if (it != rev.end()) {
            out[i] = it->second;
        } else {
            out[i] = '?';
            allMapped = false;
        }
    }
    if (ok)
        *ok = allMapped;
    return out;
}

} // namespace win1252
