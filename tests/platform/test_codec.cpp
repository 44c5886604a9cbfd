#include "platform/codec.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(Codec, EveryByteRoundTripsThroughUtf8AndUtf16)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all)), all);
}

TEST(Codec, MapsHighBlockAndUndefinedBytes)
{
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");
    EXPECT_EQ(Cp1252ToUtf8("Men\xFC"), "Men\u00FC");
    EXPECT_EQ(Cp1252ToUtf8("\xB6"), "\u00B6");
    EXPECT_EQ(Cp1252ToCodePoint(0x81), U'\u0081');
    EXPECT_EQ(Cp1252ToCodePoint(0x9D), U'\u009D');
    EXPECT_EQ(Cp1252ToCodePoint(0x9F), U'\u0178');
    EXPECT_EQ(Utf8ToCp1252("\u2122"), "\x99");
}

TEST(Codec, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(Utf8ToCp1252("a\u4E2Db"), "a?b");
    EXPECT_EQ(Utf8ToCp1252("\U0001F600"), "?");
    EXPECT_EQ(Utf16ToCp1252(u"x\U0001F600y"), "x?y");
    // Broken UTF-8: a lone continuation byte and a truncated sequence.
    EXPECT_EQ(Utf8ToCp1252("a\x80"
                           "b\xC3"),
              "a?b?");
}

} // namespace
} // namespace tw
