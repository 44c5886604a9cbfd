#include "siteembed/pageencoding.h"

#include <algorithm>
#include <cctype>

namespace tw {
namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// Whether every byte above 0x7F belongs to a well-formed UTF-8 sequence.
bool IsUtf8(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const int follow = lead < 0x80                   ? 0
                           : lead >= 0xC2 && lead < 0xE0 ? 1
                           : lead >= 0xE0 && lead < 0xF0 ? 2
                           : lead >= 0xF0 && lead < 0xF5 ? 3
                                                         : -1;
        if (follow < 0 || bytes.size() - at <= static_cast<std::size_t>(follow))
            return false;
        for (int step = 1; step <= follow; ++step) {
            if ((static_cast<unsigned char>(bytes[at + step]) & 0xC0) != 0x80)
                return false;
        }
        at += follow;
    }
    return true;
}

} // namespace

std::string PageEncoding(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return "UTF-8 (BOM)";
    // The declaration stands in the head, near the start.
    const std::string head = Lower(bytes.substr(0, 4096));
    const std::size_t charset = head.find("charset=");
    if (charset != std::string::npos) {
        std::size_t begin = charset + 8;
        while (begin < head.size() && (head[begin] == '"' || head[begin] == '\''))
            ++begin;
        std::size_t end = begin;
        while (end < head.size() &&
               (std::isalnum(static_cast<unsigned char>(head[end])) || head[end] == '-' || head[end] == '_'))
            ++end;
        if (end > begin)
            return head.substr(begin, end - begin);
    }
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return "ASCII";
    return IsUtf8(bytes) ? "UTF-8 (nicht angegeben)" : "Windows-1252 (nicht angegeben)";
}

} // namespace tw
