#include "document/naturalorder.h"

#include "document/cstring.h"

namespace tw {
namespace {

// Lower case for A-Z and the accented capitals of Windows-1252.
unsigned char Folded(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<unsigned char>(byte + 0x20);
    return byte;
}

// The digit run starting at pos without its leading zeros; pos moves behind it.
std::string_view Number(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && text[pos] == '0')
        ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && IsAsciiDigit(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

int Compare(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsAsciiDigit(a[i]) && IsAsciiDigit(b[j])) {
            const std::string_view x = Number(a, i);
            const std::string_view y = Number(b, j);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int order = x.compare(y); order != 0)
                return order;
            continue;
        }
        const unsigned char x = Folded(a[i++]);
        const unsigned char y = Folded(b[j++]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

} // namespace

bool NaturalLess(std::string_view a, std::string_view b)
{
    const int order = Compare(a, b);
    return order != 0 ? order < 0 : a < b;
}

} // namespace tw
