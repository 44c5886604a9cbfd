#include "generator/othermenufiles.h"

#include "document/cstring.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <algorithm>
#include <array>
#include <deque>
#include <string_view>

namespace tw {
namespace {

// Links sit near the top of a menu page; the rest of a large file is not read.
constexpr std::size_t PageHeadBytes = 1 << 20;

// Pages of a site that can hold a menu's links; pictures and downloads are
// not read.
bool MayLinkToPages(const std::string& name)
{
    static constexpr std::array<std::string_view, 10> Extensions{".htm", ".html", ".xhtml", ".shtml", ".php",
                                                                 ".asp", ".aspx", ".jsp",   ".inc",   ".js"};
    const std::string extension = AsciiLowerCase(ExtractFileExt(name));
    return std::find(Extensions.begin(), Extensions.end(), extension) != Extensions.end();
}

bool NameCharacter(char c)
{
    return IsAsciiDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' || c == '_' || c == '-' ||
           c == ',' || c == '%';
}

// True when the name at position at is the target of a link or a frame:
// href="name", src='name' or without quotes.
bool LinkTargetAt(std::string_view text, std::size_t at)
{
    std::size_t before = at;
    if (before > 0 && (text[before - 1] == '"' || text[before - 1] == '\''))
        --before;
    if (before == 0 || text[before - 1] != '=')
        return false;
    --before;
    const auto attribute = [&](std::string_view name) {
        return before >= name.size() &&
               AsciiLowerCase(std::string(text.substr(before - name.size(), name.size()))) == name;
    };
    return attribute("href") || attribute("src");
}

// True when text links to the file, also with its commas percent-encoded
// as links write them.
bool LinksTo(std::string_view text, const std::string& name)
{
    std::string encoded;
    for (const char c : name)
        encoded += c == ',' ? std::string("%2C") : std::string(1, c);
    for (const std::string& form : {name, encoded, AsciiLowerCase(encoded)}) {
        for (std::size_t at = text.find(form); at != std::string_view::npos; at = text.find(form, at + 1)) {
            const std::size_t end = at + form.size();
            if (LinkTargetAt(text, at) && (end == text.size() || !NameCharacter(text[end])))
                return true;
        }
    }
    return false;
}

} // namespace

void KeepOtherMenusFiles(const std::string& directory, std::vector<std::string>& candidates,
                         const std::unordered_set<std::string>& written)
{
    if (candidates.empty())
        return;
    const std::unordered_set<std::string> candidateNames(candidates.begin(), candidates.end());
    std::deque<std::string> pages;
    for (const std::string& name : RegularFileNames(directory)) {
        if (!written.contains(name) && !candidateNames.contains(name) && MayLinkToPages(name))
            pages.push_back(name);
    }
    std::vector<bool> kept(candidates.size(), false);
    while (!pages.empty()) {
        std::string text;
        try {
            text = ReadFileHead(ToFsPath(directory + pages.front()), PageHeadBytes);
        } catch (const Error&) {
            // A page that cannot be read links nowhere we could see; its
            // menu's files are then offered as this one's, and the user
            // still decides.
        }
        pages.pop_front();
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (!kept[i] && LinksTo(text, candidates[i])) {
                kept[i] = true;
                pages.push_back(candidates[i]);
            }
        }
    }
    std::size_t i = 0;
    std::erase_if(candidates, [&](const std::string&) { return kept[i++]; });
}

} // namespace tw
