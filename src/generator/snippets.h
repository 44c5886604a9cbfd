#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace tw {

using LineList = std::vector<std::string>;

// The lines of a snippet text: a line ends at CR LF, a lone CR or a lone LF,
// a line break at the very end adds no empty line, a NUL byte ends the text.
// A UTF-8 byte-order mark at the start is dropped.
LineList SnippetLines(const std::string& bytes);

// The snippet files of one template set. Each file is read once; a missing
// file has no lines. Reading a file that exists but cannot be read, or that
// is a link out of the set's folder, throws tw::Error.
class SnippetFiles {
public:
    explicit SnippetFiles(std::string templateDir) : templateDir_(std::move(templateDir)) {}

    const LineList& Lines(const std::string& name);

private:
    std::string templateDir_;
    std::unordered_map<std::string, LineList> files_;
};

} // namespace tw
