#include "projectfiles/colortext.h"

#include "document/cstring.h"
#include "platform/error.h"
#include "platform/inifile.h"

#include <array>
#include <cstdio>

namespace tw {
namespace {

struct ColorName {
    const char* name;
    TColor value;
};

constexpr TColor SystemColor(TColor n)
{
    return 0x80000000u + n;
}

constexpr std::array<ColorName, 42> ColorNames{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clNone", clNone},
    {"clScrollBar", SystemColor(0)},
    {"clBackground", SystemColor(1)},
    {"clActiveCaption", SystemColor(2)},
    {"clInactiveCaption", SystemColor(3)},
    {"clMenu", SystemColor(4)},
    {"clWindow", SystemColor(5)},
    {"clWindowFrame", SystemColor(6)},
    {"clMenuText", SystemColor(7)},
    {"clWindowText", SystemColor(8)},
    {"clCaptionText", SystemColor(9)},
    {"clActiveBorder", SystemColor(10)},
    {"clInactiveBorder", SystemColor(11)},
    {"clAppWorkSpace", SystemColor(12)},
    {"clHighlight", SystemColor(13)},
    {"clHighlightText", SystemColor(14)},
    {"clBtnFace", SystemColor(15)},
    {"clBtnShadow", SystemColor(16)},
    {"clGrayText", SystemColor(17)},
    {"clBtnText", SystemColor(18)},
    {"clInactiveCaptionText", SystemColor(19)},
    {"clBtnHighlight", SystemColor(20)},
    {"cl3DDkShadow", SystemColor(21)},
    {"cl3DLight", SystemColor(22)},
    {"clInfoText", SystemColor(23)},
    {"clInfoBk", SystemColor(24)},
}};

} // namespace

std::string ColorToStoredText(TColor color)
{
    for (const ColorName& entry : ColorNames) {
        if (entry.value == color)
            return entry.name;
    }
    char text[10];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
    return text;
}

TColor StoredTextToColor(const std::string& text)
{
    for (const ColorName& entry : ColorNames) {
        if (SameTextAscii(text, entry.name))
            return entry.value;
    }
    // Hexadecimal texts name the 32-bit pattern; decimal ones may be negative.
    if (const auto number = ParseProfileInteger(text))
        return static_cast<TColor>(*number);
    throw ConvertError(FormatMessage("'%s' is not a valid integer value", ShortForMessage(text)));
}

} // namespace tw
