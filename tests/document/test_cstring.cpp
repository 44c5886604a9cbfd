#include "document/ccolor.h"
#include "document/cstring.h"
#include "document/naturalorder.h"
#include "platform/error.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

// Reference: replace the first occurrence and search again from the
// beginning, as long as anything is found.
std::string NaiveReplaceAll(std::string text, const std::string& search, const std::string& replacement,
                            bool caseSensitive)
{
    for (int guard = 0; guard < 10000; ++guard) {
        const std::string hay = caseSensitive ? text : AsciiLowerCase(text);
        const std::string needle = caseSensitive ? search : AsciiLowerCase(search);
        const auto pos = hay.find(needle);
        if (pos == std::string::npos)
            return text;
        text.replace(pos, search.size(), replacement);
    }
    return "<did not end>";
}

TEST(ReplaceAll, ReplacesAcrossTheSeamOfAReplacement)
{
    EXPECT_EQ(ReplacedAll("aab", "ab", "b", true), "b");
    EXPECT_EQ(ReplacedAll("aaaaab", "ab", "b", true), "b");
    EXPECT_EQ(ReplacedAll("xaabby", "ab", "", true), "xy");
    EXPECT_EQ(ReplacedAll("$Li$Link$nk$", "$Link$", "", true), "");
}

TEST(ReplaceAll, CaseRuleCoversOnlyAToZ)
{
    EXPECT_EQ(ReplacedAll("<$LINK$|$link$>", "$Link$", "x", false), "<x|x>");
    EXPECT_EQ(ReplacedAll("$LINK$", "$Link$", "x", true), "$LINK$");
    // Umlauts must match exactly, whatever the flag.
    EXPECT_EQ(ReplacedAll("$Gr\xD6\xDF"
                          "e$",
                          "$gr\xF6\xDF"
                          "e$",
                          "x", false),
              "$Gr\xD6\xDF"
              "e$");
    EXPECT_EQ(ReplacedAll("$GR\xF6\xDF"
                          "E$",
                          "$gr\xF6\xDF"
                          "e$",
                          "x", false),
              "x");
}

TEST(ReplaceAll, EndsWhenTheReplacementHoldsTheSearchText)
{
    EXPECT_EQ(ReplacedAll("a-a", "a", "[a]", true), "[a]-[a]");
    EXPECT_EQ(ReplacedAll("x$T$y", "$t$", "<$T$>", false), "x<$T$>y");
    std::string text = "aaa";
    ReplaceAll(text, "", "b", true);
    EXPECT_EQ(text, "aaa");
}

TEST(ReplaceAll, AgreesWithSearchingAgainFromTheBeginning)
{
    const char* const texts[] = {"", "ab", "aabb", "abab", "ba", "aaabbbaab", "abcabcab", "bbaab", "cabbac"};
    const char* const searches[] = {"ab", "ba", "a", "aa", "abc", "b"};
    const char* const replacements[] = {"", "b", "a", "c", "bb", "x"};
    for (const char* text : texts) {
        for (const char* search : searches) {
            for (const char* replacement : replacements) {
                const std::string naive = NaiveReplaceAll(text, search, replacement, true);
                if (naive == "<did not end>")
                    continue;
                EXPECT_EQ(ReplacedAll(text, search, replacement, true), naive)
                    << text << " / " << search << " -> " << replacement;
            }
        }
    }
}

TEST(ReplaceAll, SeamsFormedWithoutRegardToCaseAgreeWithSearchingAgain)
{
    const char* const texts[] = {"aB", "AaBb", "aBAb", "bA", "AAabBBaAB", "aBcAbCab", "BbAaB", "CabBAc", "$a$A$"};
    const char* const searches[] = {"ab", "Ba", "A", "aA", "aBc", "b", "$A$"};
    const char* const replacements[] = {"", "B", "a", "c", "Bb", "x", "$", "A$"};
    for (const char* text : texts) {
        for (const char* search : searches) {
            for (const char* replacement : replacements) {
                if (AsciiLowerCase(replacement).find(AsciiLowerCase(search)) != std::string::npos)
                    continue; // would never end when searched again from the beginning
                EXPECT_EQ(ReplacedAll(text, search, replacement, false),
                          NaiveReplaceAll(text, search, replacement, false))
                    << text << " / " << search << " -> " << replacement;
            }
        }
    }
}

TEST(ReplaceAll, FollowsARewriteThatSettlesOnlyAfterManyReplacements)
{
    // Each "a" that passes the "b"s doubles them: 1023 replacements for 11 bytes.
    EXPECT_EQ(ReplacedAll("aaaaaaaaaab", "ab", "bba", true), std::string(1024, 'b') + std::string(10, 'a'));
    EXPECT_EQ(ReplacedAll("AaAaAaAaAb", "aB", "bbA", false), std::string(512, 'b') + std::string(9, 'A'));
}

TEST(ReplaceAllInLines, ReplacesInEveryLine)
{
    std::vector<std::string> lines{"$A$ x", "y $a$", "none"};
    ReplaceAllInLines(lines, "$a$", "1", false);
    EXPECT_EQ(lines, (std::vector<std::string>{"1 x", "y 1", "none"}));
}

TEST(Fields, SplitAndNthField)
{
    EXPECT_EQ(SplitFields("a;;b;", ';'), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitFields("", ';').empty());
    EXPECT_EQ(FieldByIndex(SplitFields("", ';'), 1), "");
    EXPECT_EQ(FieldByIndex(SplitFields("a;b", ';'), 2), "b");
    EXPECT_EQ(NthField("a,b", ',', 3), "");
    EXPECT_EQ(NthField("a,b", ',', 2), "b");
    EXPECT_EQ(NthField("abc", ',', 1), "abc");
    EXPECT_EQ(NthField("a,,c,", ',', 2), "");
    EXPECT_EQ(NthField("a,,c,", ',', 3), "c");
    EXPECT_EQ(NthField("a,,c,", ',', 4), "");
}

TEST(Trim, ByLimitComparesUnsignedCodes)
{
    EXPECT_EQ(TrimByLimit(36, " $Name$ \t"), "Name");
    EXPECT_EQ(TrimByLimit(35, "#!\"ff"), "ff");
    EXPECT_EQ(TrimByLimit(32, "\x01\x02 "), "");
    EXPECT_EQ(TrimByLimit(32, " \xFC "), "\xFC"); // a high byte is no control character
    EXPECT_EQ(TrimLeftByLimit(35, "##00ff00 "), "00ff00 ");
}

TEST(Lines, SplitAtAnyLineEnd)
{
    EXPECT_EQ(SplitLines("a\r\nb\rc\nd\r\n"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(Colour, ToText)
{
    EXPECT_EQ(ColorToText(0x0000FF, false), "FF0000");
    EXPECT_EQ(ColorToText(0x0000FF, true), "#FF0000");
    EXPECT_EQ(ColorToText(0x00563412, true), "#123456");
    EXPECT_EQ(ColorToText(clNone, true), "");
    EXPECT_EQ(ColorToText(0x80000005, false), "050000"); // the top byte plays no part
}

TEST(Colour, FromText)
{
    EXPECT_EQ(TextToColor("#00ff00"), 0x00FF00u);
    EXPECT_EQ(TextToColor(""), clNone);
    EXPECT_EQ(TextToColor("ff"), 0xFF0000u);
    EXPECT_EQ(TextToColor("123456789"), 0x563412u);
    EXPECT_EQ(TextToColor(ColorToText(0x00ABCDEF, true)), 0x00ABCDEFu);
    try {
        TextToColor("#12345g");
        FAIL() << "no conversion error";
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'$005g3412' is not a valid integer value");
    }
}

TEST(NaturalOrder, ComparesNumbersByValueAndLettersWithoutCase)
{
    EXPECT_TRUE(NaturalLess("Kapitel 2", "Kapitel 10"));
    EXPECT_FALSE(NaturalLess("Kapitel 10", "Kapitel 2"));
    EXPECT_TRUE(NaturalLess("kapitel 1", "Kapitel 2"));
    EXPECT_TRUE(NaturalLess("apfel", "Birne"));
    EXPECT_TRUE(NaturalLess("\xC4pfel", "\xE4pfel x")); // Ä and ä are one letter
    EXPECT_TRUE(NaturalLess("Teil 9b", "Teil 10a"));
    EXPECT_TRUE(NaturalLess("a", "a1"));
    // Names that read the same still have one order.
    EXPECT_NE(NaturalLess("Teil 02", "Teil 2"), NaturalLess("Teil 2", "Teil 02"));
    EXPECT_NE(NaturalLess("teil", "Teil"), NaturalLess("Teil", "teil"));
}

} // namespace
} // namespace tw
