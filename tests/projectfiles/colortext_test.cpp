#include "platform/error.h"
#include "projectfiles/colortext.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(ColorText, NamedColoursAndDollarHex)
{
    EXPECT_EQ(ColorToStoredText(clNone), "clNone");
    EXPECT_EQ(ColorToStoredText(0x0000FF), "clRed");
    EXPECT_EQ(ColorToStoredText(0x000000), "clBlack");
    EXPECT_EQ(ColorToStoredText(0xFFFFFF), "clWhite");
    EXPECT_EQ(ColorToStoredText(0x80000000), "clScrollBar");
    EXPECT_EQ(ColorToStoredText(0x8000000F), "clBtnFace");
    EXPECT_EQ(ColorToStoredText(0x80000018), "clInfoBk");
    EXPECT_EQ(ColorToStoredText(0x80000019), "$80000019");
    EXPECT_EQ(ColorToStoredText(0x00FF8040), "$00FF8040");
    EXPECT_EQ(ColorToStoredText(0x0000FE), "$000000FE");
}

TEST(ColorText, ReadsNamesInAnyCaseAndIntegers)
{
    EXPECT_EQ(StoredTextToColor("clred"), 0x0000FFu);
    EXPECT_EQ(StoredTextToColor("CLNONE"), clNone);
    EXPECT_EQ(StoredTextToColor("cl3ddkshadow"), 0x80000015u);
    EXPECT_EQ(StoredTextToColor("$000000FF"), 0x0000FFu);
    EXPECT_EQ(StoredTextToColor("$ff"), 0x0000FFu);
    EXPECT_EQ(StoredTextToColor("0x00ff8040"), 0x00FF8040u);
    EXPECT_EQ(StoredTextToColor("255"), 0x0000FFu);
    EXPECT_EQ(StoredTextToColor(" 255"), 0x0000FFu);
    EXPECT_EQ(StoredTextToColor("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(StoredTextToColor("$FFFFFFFF"), 0xFFFFFFFFu);
    for (TColor color : {clNone, TColor{0}, TColor{0x00123456}, TColor{0x80000007}, TColor{0xFFFFFFFF}})
        EXPECT_EQ(StoredTextToColor(ColorToStoredText(color)), color);
}

TEST(ColorText, RejectsEverythingElse)
{
    for (const char* text : {"", "red", "clRedd", "$", "0x", "12a", "$1FFFFFFFF", "4294967296", "+", " ", "255 "}) {
        try {
            StoredTextToColor(text);
            ADD_FAILURE() << text;
        } catch (const ConvertError& error) {
            EXPECT_EQ(std::string(error.what()), "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}

} // namespace
} // namespace tw
