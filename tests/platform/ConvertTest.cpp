#include "platform/Convert.h"
#include "platform/Codepage.h"
#include "platform/Errors.h"
#include "platform/LocalFileSystem.h"

#include <gtest/gtest.h>

TEST(Convert, IntegersAsTheStoredFilesWriteThem)
{
    const struct
    {
        const char* text;
        std::optional<int> value;
    } cases[] = {
        // clang-format off
        {"42", 42},          {"-7", -7},           {"+3", 3},          {"  12", 12},
        {"$FF", 255},        {"0x1f", 31},         {"0X1F", 31},       {"$FFFFFFFF", -1},
        {"2147483647", 2147483647}, {"2147483648", std::nullopt}, {"-2147483648", -2147483647 - 1},
        {"", std::nullopt},  {"12 ", std::nullopt}, {"1.5", std::nullopt}, {"$", std::nullopt},
        {"abc", std::nullopt}, {"$1FFFFFFFF", std::nullopt},
        // a sign negates the hexadecimal pattern modulo 2^32; the lowest integer stays itself
        {"-$1", -1},         {"-$FFFFFFFF", 1},    {"-$7FFFFFFF", -2147483647},
        {"-$80000000", -2147483647 - 1}, {"-0x80000000", -2147483647 - 1}, {"-$080000000", -2147483647 - 1},
        {"-2147483649", std::nullopt},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseInteger(QString::fromLatin1(c.text)), c.value) << c.text;

    try {
        strToInt(QStringLiteral("yes"));
        FAIL();
    } catch (const VarnoltError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'yes' is not a valid integer value"));
    }
    EXPECT_EQ(strToIntDef(QStringLiteral("x"), 5), 5);
}

TEST(Codepage, Windows1252BothWays)
{
    const QString text = QStringLiteral("A\u00e9\u20ac\u2019\u0178");
    EXPECT_EQ(toAnsi(text), QByteArray("A\xE9\x80\x92\x9F"));
    EXPECT_EQ(fromAnsi(toAnsi(text)), text);
    // Outside the code page: one "?" per character, surrogate pairs included.
    EXPECT_EQ(toAnsi(QStringLiteral("\u0416x\U0001F600")), QByteArray("?x?"));
    EXPECT_FALSE(isAnsiRepresentable(QStringLiteral("\u0416")));
    EXPECT_TRUE(isAnsiRepresentable(QStringLiteral("Caf\u00e9")));
}

TEST(Wildcard, MatchesLikeAWindowsListing)
{
    EXPECT_TRUE(matchesWildcard("Panel_Left", "Panel_*"));
    EXPECT_TRUE(matchesWildcard("panel_left", "Panel_*"));
    EXPECT_FALSE(matchesWildcard("My Panel_x", "Panel_*"));
    EXPECT_TRUE(matchesWildcard("A@Gauge.exe", "A@*.exe"));
    EXPECT_TRUE(matchesWildcard("README", "*.*"));
    EXPECT_TRUE(matchesWildcard("ab", "a?"));
    EXPECT_FALSE(matchesWildcard("abc", "a?"));
}
