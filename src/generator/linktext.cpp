#include "generator/linktext.h"

#include "platform/codec.h"

namespace tw {
namespace {

void AppendEscaped(std::string& out, unsigned char byte)
{
    static const char Hex[] = "0123456789ABCDEF";
    out += '%';
    out += Hex[byte >> 4];
    out += Hex[byte & 0x0F];
}

bool BreaksLink(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7F ||
           std::string_view("%#?\"'<>\\`").find(static_cast<char>(byte)) != std::string_view::npos;
}

template <typename Escape>
std::string Escaped(std::string_view text, Escape escape)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (escape(byte))
            AppendEscaped(out, byte);
        else
            out += c;
    }
    return out;
}

} // namespace

std::string LinkOfFileName(std::string_view name)
{
    return Escaped(name, BreaksLink);
}

std::string AddressOfPath(std::string_view path)
{
    return Escaped(path, [](unsigned char byte) {
        return BreaksLink(byte) || byte >= 0x80 ||
               std::string_view(" :[]{}|^").find(static_cast<char>(byte)) != std::string_view::npos;
    });
}

std::string LinkOfAddress(std::string_view address)
{
    return Escaped(address, [](unsigned char byte) {
        return byte <= 0x20 || byte >= 0x7F ||
               std::string_view("\"'<>\\`{}|^").find(static_cast<char>(byte)) != std::string_view::npos;
    });
}

std::string WithCharacterReferences(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += "&#";
            out += std::to_string(static_cast<std::uint32_t>(Cp1252ToCodePoint(byte)));
            out += ';';
        }
    }
    return out;
}

} // namespace tw
