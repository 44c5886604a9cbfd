#include "siteimport/importtext.h"

#include "document/cstring.h"
#include "platform/codec.h"

namespace tw {
namespace {

// The code point of the UTF-8 sequence at pos, which moves past it.
char32_t NextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length && pos + i < text.size(); ++i)
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    pos += length;
    return codePoint;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Captions are written into HTML as they stand. A "<" that would open a tag
// and a "&" that would start a character reference are escaped, so that the
// menu shows what the page showed; every other character stays itself.
void AppendCaptionCharacter(std::string& out, char32_t codePoint, char next)
{
    if (codePoint == U'<' && (IsAsciiLetter(next) || next == '/' || next == '!' || next == '?')) {
        out += "&lt;";
        return;
    }
    if (codePoint == U'&' && (IsAsciiLetter(next) || IsAsciiDigit(next) || next == '#')) {
        out += "&amp;";
        return;
    }
    const char byte = CodePointToCp1252(codePoint);
    if (byte == '?' && codePoint != U'?')
        out += "&#" + std::to_string(static_cast<unsigned long>(codePoint)) + ';';
    else
        out += byte;
}

} // namespace

std::string CaptionOfText(std::string_view utf8, bool* shortened)
{
    const std::string valid = IsValidUtf8(utf8) ? std::string(utf8) : Cp1252ToUtf8(Utf8ToCp1252(std::string(utf8)));
    std::string caption;
    std::size_t characters = 0;
    std::size_t pos = 0;
    while (pos < valid.size() && characters < MaxImportedCaption) {
        const char32_t codePoint = NextCodePoint(valid, pos);
        AppendCaptionCharacter(caption, codePoint, pos < valid.size() ? valid[pos] : '\0');
        ++characters;
    }
    const bool cut = pos < valid.size();
    if (cut)
        caption += '\x85'; // "…"
    if (shortened)
        *shortened = cut;
    return caption;
}

std::string Utf8OfName(std::string_view bytes)
{
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(std::string(bytes));
}

std::string DecodedEscapes(std::string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? HexDigitValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(text[i + 2]) : -1;
        if (low >= 0) {
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            bytes += text[i];
        }
    }
    return Utf8OfName(bytes);
}

bool IsUtf8Head(std::string_view text)
{
    // A sequence is at most four bytes long: look for its lead byte among
    // the last three.
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            if (needed > back)
                text.remove_suffix(back);
            break;
        }
    }
    return IsValidUtf8(text);
}

} // namespace tw
