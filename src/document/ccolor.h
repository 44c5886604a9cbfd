#pragma once

#include <cstdint>
#include <string>

namespace tw {

// A colour: red in the lowest byte, then green, then blue.
using TColor = uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;

// Six upper-case hexadecimal digits red, green, blue, optionally behind "#";
// the none colour gives the empty string.
std::string ColorToText(TColor color, bool withHash);

// The inverse: leading characters up to code 35 (such as "#") are dropped,
// the rest padded to six digits on the left; characters behind the sixth are
// ignored. An empty text gives the none colour. A character that is not a
// hexadecimal digit throws ConvertError "'%s' is not a valid integer value".
TColor TextToColor(const std::string& text);

} // namespace tw
