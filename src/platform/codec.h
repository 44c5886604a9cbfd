#pragma once

#include <string>
#include <string_view>

namespace tw {

// Windows-1252 <-> Unicode. Every byte maps to one code point and back (the
// five bytes the code page leaves undefined map to U+0081, U+008D, U+008F,
// U+0090 and U+009D), so byte strings round-trip. Characters outside the code
// page become "?" on the way in; invalid UTF-8 sequences do too.
std::string Cp1252ToUtf8(const std::string& text);
std::string Utf8ToCp1252(const std::string& utf8);
// True when the bytes are well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view text);
std::u16string Cp1252ToUtf16(const std::string& text);
std::string Utf16ToCp1252(const std::u16string& utf16);

char32_t Cp1252ToCodePoint(unsigned char byte);
// Appends the UTF-8 bytes of a code point.
void AppendUtf8(std::string& out, char32_t codePoint);
// The byte for a code point, or '?' when the code page has none.
char CodePointToCp1252(char32_t codePoint);

} // namespace tw
