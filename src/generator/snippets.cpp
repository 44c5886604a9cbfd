#include "generator/snippets.h"

#include "document/cstring.h"
#include "platform/files.h"
#include "platform/paths.h"

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
    const std::string path = templateDir_ + name;
    LineList lines = FileExists(path) ? SnippetLines(ReadFileBytes(path)) : LineList{};
    return files_.emplace(name, std::move(lines)).first->second;
}

} // namespace tw
