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

// Runs the replacements over the line in their order, letter case ignored.
void ApplyReplacements(std::string& line, const ReplacementList& replacements);
void ApplyReplacements(LineList& lines, const ReplacementList& replacements);

// The document placeholders in the order they are filled: colours, texts,
// "$FileName$", "$CurrentFilename$", the collapsing of empty lines, then the
// user variables in list order. Built once per generation.
class DocumentPlaceholders {
public:
    explicit DocumentPlaceholders(const TqzHTML& document);

    // Fills the placeholders of one file named currentFileName.
    void Apply(LineList& lines, const std::string& currentFileName);

private:
    ReplacementList replacements_;
    std::size_t currentFileIndex_ = 0;
};

} // namespace tw
