#include "generator/snippets.h"

#include "document/cstring.h"
#include "platform/files.h"

namespace tw {

LineList SnippetLines(const std::string& bytes)
{
    const std::size_t end = bytes.find('\0');
    return SplitLines(end == std::string::npos ? bytes : bytes.substr(0, end));
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
