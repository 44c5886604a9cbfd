#pragma once

#include "document/cstring.h"
#include "generator/snippets.h"

#include <string>
#include <string_view>
#include <vector>

namespace tw {

// An entry snippet with the places its item placeholders take, found once by
// running the replacements over it in their order with stand-ins for the
// values. An entry is then put together from an item's values without any
// search. That gives the lines the replacements would give as long as no
// value can take part in a match of a later placeholder: every placeholder
// begins and ends with "$" and holds no other, no value holds a "$", and no
// place lies between two "$" whose text around it could still become one of
// the placeholders.
class EntrySnippet {
public:
    EntrySnippet(const LineList& lines, const std::vector<TextReplacement>& placeholders);

    // The lines with values[i] in the places of placeholder i. False when the
    // values or the snippet need the replacements run one by one, or when
    // the lines could grow beyond maxSize on the way.
    bool Fill(const std::vector<std::string_view>& values, std::size_t maxSize, LineList& lines) const;

private:
    struct Line {
        std::vector<std::string> texts;  // around the places: one more than places
        std::vector<std::size_t> places; // the placeholder each place is filled from
    };

    bool AddLine(std::string text, const std::vector<TextReplacement>& placeholders);

    std::vector<Line> lines_;
    std::vector<char> used_; // by placeholder: whether it has places
    // The texts around the places and the placeholder texts replaced: the
    // lines grow at most by the latter beyond their final size while the
    // replacements run.
    std::size_t fixedBytes_ = 0;
    bool placed_ = true;
};

} // namespace tw
