#include "generator/entrysnippet.h"

#include <algorithm>

namespace tw {
namespace {

// Stands for a value while the places are found. No placeholder holds it,
// and no snippet line does: a NUL byte ends a snippet's text.
constexpr char Place = '\0';

// "$", a name without "$", "$", compared without regard to letter case: a
// match then lies between two neighbouring "$" of the text.
bool Framed(const TextReplacement& placeholder)
{
    const std::string& search = placeholder.Search();
    return !placeholder.CaseSensitive() && search.size() >= 2 && search.front() == '$' &&
           search.find('$', 1) == search.size() - 1;
}

// Whether search could fill a gap from one "$" to the next that holds
// values, whatever they are: before is the gap's text up to the first value,
// after its text behind the last one.
bool MayFill(const std::string& search, std::string_view before, std::string_view after)
{
    if (search.size() < before.size() + after.size() + 2)
        return false;
    const auto same = [](char text, char searched) { return AsciiLower(text) == searched; };
    return std::equal(before.begin(), before.end(), search.begin() + 1, same) &&
           std::equal(after.begin(), after.end(), search.end() - 1 - static_cast<std::ptrdiff_t>(after.size()), same);
}

// Whether a value placed in text could become part of a match of one of
// the placeholders from first on.
bool PlaceMayJoin(const std::string& text, const std::vector<TextReplacement>& placeholders, std::size_t first)
{
    for (std::size_t open = text.find('$'); open != std::string::npos;) {
        const std::size_t close = text.find('$', open + 1);
        if (close == std::string::npos)
            break;
        const std::string_view gap(text.data() + open + 1, close - open - 1);
        const std::size_t firstPlace = gap.find(Place);
        if (firstPlace != std::string_view::npos) {
            const std::string_view before = gap.substr(0, firstPlace);
            const std::string_view after = gap.substr(gap.rfind(Place) + 1);
            for (std::size_t k = first; k < placeholders.size(); ++k) {
                if (MayFill(placeholders[k].Search(), before, after))
                    return true;
            }
        }
        open = close;
    }
    return false;
}

} // namespace

EntrySnippet::EntrySnippet(const LineList& lines, const std::vector<TextReplacement>& placeholders)
    : used_(placeholders.size(), 0)
{
    placed_ = std::all_of(placeholders.begin(), placeholders.end(), Framed);
    for (auto line = lines.begin(); placed_ && line != lines.end(); ++line)
        placed_ = AddLine(*line, placeholders);
}

bool EntrySnippet::AddLine(std::string text, const std::vector<TextReplacement>& placeholders)
{
    Line line;
    for (std::size_t k = 0; k < placeholders.size(); ++k) {
        const std::size_t length = placeholders[k].Search().size();
        for (std::size_t at = placeholders[k].Find(text, 0); at != std::string::npos;
             at = placeholders[k].Find(text, at + 1)) {
            const auto before = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), Place);
            line.places.insert(line.places.begin() + before, k);
            text.replace(at, length, 1, Place);
            fixedBytes_ += length;
            used_[k] = 1;
        }
        // The replacement searches again where it has just put a value.
        if (PlaceMayJoin(text, placeholders, k))
            return false;
    }
    std::size_t start = 0;
    for (std::size_t place = text.find(Place); place != std::string::npos; place = text.find(Place, start)) {
        line.texts.push_back(text.substr(start, place - start));
        start = place + 1;
    }
    line.texts.push_back(text.substr(start));
    fixedBytes_ += text.size() - line.places.size();
    lines_.push_back(std::move(line));
    return true;
}

bool EntrySnippet::Fill(const std::vector<std::string_view>& values, std::size_t maxSize, LineList& lines) const
{
    if (!placed_)
        return false;
    std::size_t size = fixedBytes_;
    for (const Line& line : lines_) {
        for (const std::size_t place : line.places)
            size += values[place].size();
    }
    if (size > maxSize)
        return false;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (used_[k] && values[k].find('$') != std::string_view::npos)
            return false;
    }
    lines.resize(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        std::string& filled = lines[i];
        filled.assign(line.texts.front());
        for (std::size_t j = 0; j < line.places.size(); ++j) {
            filled.append(values[line.places[j]]);
            filled.append(line.texts[j + 1]);
        }
    }
    return true;
}

} // namespace tw
