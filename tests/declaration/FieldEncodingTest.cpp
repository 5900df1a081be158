#include "declaration/FieldEncoding.h"
#include "declaration/RecordFormats.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

struct EncodingCase {
    const char *what;
    Encoding encoding;
    QVariant value;
    int width;
    const char *expected; // nullptr when the value must be refused
    Fault fault = Fault::None;
};

QDateTime day(int y, int m, int d) {
    return QDateTime(QDate(y, m, d), QTime(0, 0), Qt::UTC);
}

const EncodingCase kCases[] = {
    {"amount 1234.567", Encoding::Amount, 1234.567, 15, "000000001234567"},
    {"amount half a millime up", Encoding::Amount, 1234.5675, 15, "000000001234568"},
    {"amount 0.0005", Encoding::Amount, 0.0005, 15, "000000000000001"},
    {"amount 0", Encoding::Amount, 0.0, 15, "000000000000000"},
    {"amount empty", Encoding::Amount, QVariant(), 15, "000000000000000"},
    {"amount 1000 dinars", Encoding::Amount, 1000.0, 15, "000000001000000"},
    {"amount below half a millime", Encoding::Amount, 0.00049, 15, "000000000000000"},
    {"amount, largest that fits", Encoding::Amount, 999999999999.999, 15, "999999999999999"},
    {"amount too wide", Encoding::Amount, 1e12, 15, nullptr, Fault::TooManyDigits},
    {"amount negative", Encoding::Amount, -5.0, 15, nullptr, Fault::Negative},
    {"rate 15 %", Encoding::Rate, 15.0, 5, "01500"},
    {"rate 2.5 %", Encoding::Rate, 2.5, 5, "00250"},
    {"rate 100 %", Encoding::Rate, 100.0, 5, "10000"},
    {"rate 0.5 %", Encoding::Rate, 0.5, 5, "00050"},
    {"rate empty", Encoding::Rate, QVariant(), 5, "00000"},
    {"rate too wide", Encoding::Rate, 1000.0, 5, nullptr, Fault::TooManyDigits},
    {"order number", Encoding::Count, 1, 6, "000001"},
    {"days 312", Encoding::Count, 312.0, 3, "312"},
    {"days 25.5", Encoding::Count, 25.5, 3, "026"},
    {"days 1000", Encoding::Count, 1000.0, 3, nullptr, Fault::TooManyDigits},
    {"children 0", Encoding::Count, 0, 2, "00"},
    {"children 100", Encoding::Count, 100, 2, nullptr, Fault::TooManyDigits},
    {"type 1", Encoding::WholeNumberText, QStringLiteral("1"), 2, "01"},
    {"type 7 with a leading blank", Encoding::WholeNumberText, QStringLiteral(" 7"), 2, "07"},
    {"type 7 padded by its column", Encoding::WholeNumberText, QStringLiteral("7 "), 2, "07"},
    {"type 25", Encoding::WholeNumberText, QStringLiteral("25"), 2, "25"},
    {"type empty", Encoding::WholeNumberText, QVariant(), 2, nullptr, Fault::NotAWholeNumber},
    {"type blank", Encoding::WholeNumberText, QStringLiteral("  "), 2, nullptr, Fault::NotAWholeNumber},
    {"type 7A", Encoding::WholeNumberText, QStringLiteral("7A"), 2, nullptr, Fault::NotAWholeNumber},
    {"type 1.5", Encoding::WholeNumberText, QStringLiteral("1.5"), 2, nullptr, Fault::NotAWholeNumber},
    {"date", Encoding::Date, day(2019, 3, 5), 8, "05032019"},
    {"date empty", Encoding::Date, QVariant(), 8, "30121899"},
    {"text as stored", Encoding::StoredText, QStringLiteral("AB  "), 4, "AB  "},
    {"text shorter than its column", Encoding::StoredText, QStringLiteral("01234567"), 13, "01234567     "},
    {"text longer than its column", Encoding::StoredText, QStringLiteral("ABCDEF"), 4, "ABCD"},
    {"empty one-character code", Encoding::StoredText, QVariant(), 1, " "},
    {"text in WIN1252", Encoding::StoredText, QStringLiteral("Société"), 8, "Soci\xe9t\xe9 "},
    {"text trimmed", Encoding::TrimmedText, QStringLiteral("  INGENIEUR"), 40,
     "INGENIEUR                               "},
    {"text trimmed, full width", Encoding::TrimmedText, QStringLiteral("ABCD"), 4, "ABCD"},
    {"filler", Encoding::Filler, QVariant(), 3, "   "},
};

class FieldEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

} // namespace

TEST_P(FieldEncodingTest, WritesTheFieldOrRefusesIt) {
    const EncodingCase &c = GetParam();
    Fault fault = Fault::None;
    const QByteArray out = encodedField(c.encoding, c.value, c.width, &fault);
    EXPECT_EQ(fault, c.fault);
    if (c.expected) {
        EXPECT_EQ(out, QByteArray(c.expected));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FieldEncodingTest, ::testing::ValuesIn(kCases), [](const auto &info) {
    std::string name;
    for (const char *p = info.param.what; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

// Halves go away from zero; the double just below a half stays below it once written with 18 digits.
TEST(RoundingRule, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(roundHalfAwayFrom18Digits(2.5), 3);
    EXPECT_EQ(roundHalfAwayFrom18Digits(-2.5), -3);
    EXPECT_EQ(roundHalfAwayFrom18Digits(0.49999999999999994), 0);
    EXPECT_EQ(roundHalfAwayFrom18Digits(1.0005 * 1000), 1001);
    EXPECT_EQ(roundHalfAwayFrom18Digits(4503599627370495.5), 4503599627370496.0);
    EXPECT_EQ(roundHalfAwayFrom18Digits(123456789012.4375), 123456789012.0);
}

// Every layout covers its record from the first position to the last, field after field.
TEST(RecordFormats, EveryLayoutTilesItsRecord) {
    std::vector<std::pair<std::string, const RecordFormat *>> formats = {
        {"DECEMP_ header", &declarationHeaderFormat()}, {"DECEMP_ recap", &recapRecordFormat()}};
    for (int annex = 1; annex <= 7; ++annex) {
        const std::string n = std::to_string(annex);
        formats.push_back({"E" + n, &annexFormat(annex).header});
        formats.push_back({"L" + n, &annexFormat(annex).line});
        formats.push_back({"T" + n, &annexFormat(annex).totals});
    }
    for (const auto &[name, format] : formats) {
        SCOPED_TRACE(name);
        int next = 1;
        for (const Field &f : format->fields) {
            EXPECT_EQ(f.first, next) << f.name;
            next = f.first + f.width;
        }
        EXPECT_EQ(next, format->width + 1);
    }
}
