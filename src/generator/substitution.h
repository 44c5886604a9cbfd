#pragma once

#include "document/qzhtml.h"
#include "generator/snippets.h"

#include <string>
#include <vector>

namespace tw {

struct Replacement {
    std::string Search;
    std::string Text;
};
using ReplacementList = std::vector<Replacement>;

// The most a generated file may hold. Values that hold other placeholders
// can multiply with every step of the substitution; a file beyond this size
// is no menu but a runaway expansion, and generation stops.
inline constexpr std::size_t MaxGeneratedFileSize = std::size_t{64} << 20;

// Runs the replacements over the line in their order, letter case ignored.
void ApplyReplacements(std::string& line, const ReplacementList& replacements);
void ApplyReplacements(LineList& lines, const ReplacementList& replacements);
// The same for lines that may hold at most maxSize bytes together (line
// breaks not counted); false as soon as they would hold more, the lines then
// being partly replaced.
bool ApplyReplacementsWithin(LineList& lines, const ReplacementList& replacements, std::size_t maxSize);

// The document placeholders in the order they are filled: colours, texts,
// "$FileName$", "$CurrentFilename$", the collapsing of empty lines, then the
// user variables in list order. Built once per generation.
class DocumentPlaceholders {
public:
    explicit DocumentPlaceholders(const TqzHTML& document);

    // Fills the placeholders of one file named currentFileName. False when
    // the file would grow beyond MaxGeneratedFileSize.
    bool Apply(LineList& lines, const std::string& currentFileName);

private:
    ReplacementList replacements_;
    std::size_t currentFileIndex_ = 0;
};

} // namespace tw
