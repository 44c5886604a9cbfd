#pragma once

#include "document/ccolor.h"

#include <string>

namespace tw {

// The text form of a colour in project files: the colour's name when it has
// one ("clRed", "clNone", "clBtnFace"...), otherwise "$" and eight upper-case
// hexadecimal digits.
std::string ColorToStoredText(TColor color);

// Reads a colour name in any letter case, or an integer in decimal or in
// hexadecimal after "$" or "0x". Anything else throws ConvertError.
TColor StoredTextToColor(const std::string& text);

} // namespace tw
