#include "data/FbStatement.h"
#include "data/Win1252.h"

#include <gtest/gtest.h>

TEST(Win1252, EveryByteSurvivesDecodeAndEncode) {
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    bool ok = false;
    EXPECT_EQ(win1252::encode(win1252::decode(all), &ok), all);
    EXPECT_TRUE(ok);
}

TEST(Win1252, FrenchLettersAndEuroAreSingleBytes) {
    EXPECT_EQ(win1252::encode(QStringLiteral("éàç€œ")), QByteArray("\xE9\xE0\xE7\x80\x9C"));
    bool ok = true;
    EXPECT_EQ(win1252::encode(QStringLiteral("ش"), &ok), QByteArray("?"));
    EXPECT_FALSE(ok);
}

TEST(NamedParameters, ReplacedOutsideQuotesAndComments) {
    struct Case {
        const char *sql;
        const char *expected;
        QStringList names;
    } cases[] = {
        {"select * from T where a=:code and b=:exercice",
         "select * from T where a=? and b=?",
         {"code", "exercice"}},
        {"select ':x' from T where a=:a", "select ':x' from T where a=?", {"a"}},
        {"select 1 from T -- :c\nwhere a=:a or b=:a", "select 1 from T -- :c\nwhere a=? or b=?", {"a", "a"}},
        {"select 1 from T /* :c */ where \"X:Y\"=:p1", "select 1 from T /* :c */ where \"X:Y\"=?", {"p1"}},
        {"select 'l''x:y' from T", "select 'l''x:y' from T", {}},
    };
    for (const Case &c : cases) {
        QStringList names;
        EXPECT_EQ(parseNamedParameters(QString::fromUtf8(c.sql), &names), QString::fromUtf8(c.expected))
            << c.sql;
        EXPECT_EQ(names, c.names) << c.sql;
    }
}
