#include "document/ccolor.h"

#include "document/cstring.h"
#include "platform/error.h"

#include <cstdio>

namespace tw {

std::string ColorToText(TColor color, bool withHash)
{
    if (color == clNone)
        return {};
    char digits[7];
    std::snprintf(digits, sizeof digits, "%.2X%.2X%.2X", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    return withHash ? "#" + std::string(digits) : std::string(digits);
}

TColor TextToColor(const std::string& text)
{
    if (text.empty())
        return clNone;
    std::string digits = TrimLeftByLimit(35, text);
    if (digits.size() < 6)
        digits.insert(0, 6 - digits.size(), '0');
    digits.resize(6);
    // The digits are read as the hexadecimal number $00BBGGRR.
    const std::string converted = "$00" + digits.substr(4, 2) + digits.substr(2, 2) + digits.substr(0, 2);
    TColor color = 0;
    for (std::size_t i = 1; i < converted.size(); ++i) {
        const int digit = HexDigitValue(converted[i]);
        if (digit < 0)
            throw ConvertError(FormatMessage("'%s' is not a valid integer value", converted));
        color = (color << 4) | static_cast<TColor>(digit);
    }
    return color;
}

} // namespace tw
