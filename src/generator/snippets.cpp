#include "generator/snippets.h"

#include "document/cstring.h"
#include "platform/files.h"

#include <string_view>

namespace tw {

LineList SnippetLines(const std::string& bytes)
{
    // A byte-order mark left by an editor would outrank the page's declared
    // encoding in every browser, so it never reaches the output.
    const std::string_view bom = "\xEF\xBB\xBF";
    const std::size_t start = bytes.starts_with(bom) ? bom.size() : 0;
    const std::size_t end = bytes.find('\0', start);
    return SplitLines(bytes.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

const LineList& SnippetFiles::Lines(const std::string& name)
{
    const auto known = files_.find(name);
    if (known != files_.end())
        return known->second;
    // A snippet is read only from the set's own folder: a link in a shared
    // set must not copy a file of the system into every page.
    const std::optional<std::string> bytes = ReadFileInFolder(templateDir_, name);
    LineList lines = bytes ? SnippetLines(*bytes) : LineList{};
    return files_.emplace(name, std::move(lines)).first->second;
}

} // namespace tw
