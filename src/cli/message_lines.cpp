#include "cli/message_lines.h"

#include "document/cstring.h"
#include "platform/codec.h"

namespace tw::cli {

namespace {

char HexDigit(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

} // namespace

std::string EscapeControlCharacters(const std::string& utf8)
{
    std::string escaped;
    escaped.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x20 || byte == 0x7F) {
            escaped += "\\x";
            escaped += HexDigit(byte >> 4);
            escaped += HexDigit(byte);
        } else if (byte == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            // C1 controls (U+0080 to U+009F) include the terminal's CSI.
            const auto code = static_cast<unsigned char>(utf8[++i]);
            escaped += "\\u00";
            escaped += HexDigit(code >> 4);
            escaped += HexDigit(code);
        } else {
            escaped += utf8[i];
        }
    }
    return escaped;
}

void MessageLines::ShowMessage(const std::string& text)
{
    ShowNote(text);
}

void MessageLines::ShowNote(const std::string& text)
{
    stream_ << EscapeControlCharacters(Cp1252ToUtf8(LineBreaksToBlanks(text))) << '\n' << std::flush;
}

} // namespace tw::cli
