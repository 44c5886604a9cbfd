#include "siteembed/markupescape.h"

#include <string_view>

namespace tw {
namespace {

// Whether text starts with a character reference: "&uuml;", "&#252;" or
// "&#xFC;".
bool StartsReference(std::string_view text)
{
    std::string_view allowed = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::size_t start = 1;
    if (text.starts_with("&#x") || text.starts_with("&#X")) {
        allowed = "0123456789abcdefABCDEF";
        start = 3;
    } else if (text.starts_with("&#")) {
        allowed = "0123456789";
        start = 2;
    } else if (text.size() < 2 || allowed.substr(0, 52).find(text[1]) == std::string_view::npos) {
        return false; // a name starts with a letter
    }
    const std::size_t end = text.find_first_not_of(allowed, start);
    return end != std::string_view::npos && end > start && text[end] == ';';
}

} // namespace

std::string EscapedForMarkup(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string WithBareAmpersandsEscaped(const std::string& text)
{
    std::string out;
    std::size_t copied = 0;
    for (std::size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 1)) {
        if (StartsReference(std::string_view(text).substr(at)))
            continue;
        out.append(text, copied, at - copied);
        out += "&amp;";
        copied = at + 1;
    }
    if (copied == 0)
        return text;
    return out.append(text, copied);
}

} // namespace tw
