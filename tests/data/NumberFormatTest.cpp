#include "data/NumberFormat.h"

#include <gtest/gtest.h>

TEST(NumberFormat, MasksOfTheAmounts) {
    struct Case {
        double value;
        const char *mask;
        const char *expected;
    } cases[] = {
        {1234567.5, "# ##0.000", "1 234 567.500"},
        {0.0, "# ##0.000", "0.000"},
        {-1234.5675, "# ##0.000", "-1 234.568"}, // half away from zero
        {1.0005, "##0.000", "1.001"},            // stored as 1.000499999..., read as written
        {999.9996, "##0.000", "1000.000"},
        {1234.5, "#,##0.000", "1 234.500"},
        {1234.5, "###,##0.000", "1 234.500"},
        {12.3456, "### ##0.00", "12.35"},
        {-0.0004, "# ##0.000", "0.000"}, // no minus sign on a zero
        {0.5, "#.##", ".5"},
        {2.5, "", "2.5"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(formatNumber(c.value, QString::fromLatin1(c.mask)), QString::fromLatin1(c.expected))
            << c.value << " " << c.mask;
}

TEST(NumberFormat, RoundedDecimal) {
    EXPECT_EQ(roundedDecimal(2.675, 2), QStringLiteral("2.68"));
    EXPECT_EQ(roundedDecimal(-2.5, 0), QStringLiteral("-3"));
    EXPECT_EQ(roundedDecimal(1e-20, 3), QStringLiteral("0.000"));
    EXPECT_EQ(roundedDecimal(123456789012.3456, 3), QStringLiteral("123456789012.346"));
}
