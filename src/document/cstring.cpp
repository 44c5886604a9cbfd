#include "document/cstring.h"

#include <algorithm>

namespace tw {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string AsciiLowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), AsciiLower);
    return text;
}

std::string AsciiUpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c; });
    return text;
}

bool SameTextAscii(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

namespace {

// Replacing one occurrence can form a new one across the seam, and the
// next occurrence can never start before the seam minus the search length.
// So the text is rebuilt front to back on a stack: a byte is pushed onto the
// output, and when the output then ends with the search text, that tail is
// popped and the replacement is queued in front of the unread input. This
// finds exactly the leftmost occurrence each time, as searching again from
// the beginning would, in linear time.
class Replacer {
public:
    static constexpr std::size_t MinimumReplacementBudget = std::size_t{1} << 16;

    Replacer(const std::string& search, const std::string& replacement, bool caseSensitive,
             std::size_t maxSize = std::string::npos)
        : search_(caseSensitive ? search : AsciiLowerCase(search)), replacement_(replacement),
          caseSensitive_(caseSensitive), maxSize_(maxSize)
    {
        const std::string probe = caseSensitive ? replacement : AsciiLowerCase(replacement);
        replacementHoldsSearch_ = probe.find(search_) != std::string::npos;
    }

    std::string Run(const std::string& text, std::size_t firstMatch)
    {
        out_.assign(text, 0, firstMatch);
        out_.reserve(text.size() + text.size() / 4);
        // Guard against a rewrite that never settles: after this many
        // replacements every further one continues behind its inserted text.
        // Rewrites that do settle can need far more replacements than the
        // text has bytes (each one may double what the next ones see), so
        // even short texts get a generous allowance.
        replacementBudget_ = std::max<std::size_t>(8 * (text.size() + 16), MinimumReplacementBudget);
        std::size_t next = firstMatch;
        for (;;) {
            char c;
            if (!queued_.empty()) {
                c = queued_.back();
                queued_.pop_back();
            } else if (next < text.size()) {
                c = text[next++];
            } else {
                break;
            }
            Push(c);
            if (out_.size() + queued_.size() > maxSize_) {
                exceeded_ = true;
                break;
            }
        }
        return std::move(out_);
    }

    // The result would have grown beyond maxSize; Run stopped early.
    bool Exceeded() const { return exceeded_; }

private:
    bool EndsWithSearch() const
    {
        const std::size_t n = search_.size();
        if (out_.size() < n || out_.size() - n < barrier_)
            return false;
        const char* tail = out_.data() + out_.size() - n;
        if (caseSensitive_)
            return std::equal(search_.begin(), search_.end(), tail);
        return std::equal(search_.begin(), search_.end(), tail, [](char s, char t) { return s == AsciiLower(t); });
    }

    void Push(char c)
    {
        out_ += c;
        if (!EndsWithSearch())
            return;
        out_.resize(out_.size() - search_.size());
        if (replacementHoldsSearch_ || replacementBudget_ == 0) {
            // Searching on behind the inserted text keeps the call finite.
            out_ += replacement_;
            barrier_ = out_.size();
            return;
        }
        --replacementBudget_;
        queued_.append(replacement_.rbegin(), replacement_.rend());
    }

    std::string search_;
    const std::string& replacement_;
    bool caseSensitive_;
    std::size_t maxSize_;
    bool exceeded_ = false;
    bool replacementHoldsSearch_ = false;
    std::size_t replacementBudget_ = 0;
    std::size_t barrier_ = 0;
    std::string out_;
    std::string queued_; // bytes still to push, last one first
};

bool EqualsIgnoringAsciiCase(const char* text, const std::string& search)
{
    return std::equal(search.begin(), search.end(), text,
                      [](char s, char t) { return AsciiLower(s) == AsciiLower(t); });
}

std::size_t FindFirst(const std::string& text, const std::string& search, bool caseSensitive)
{
    if (caseSensitive)
        return text.find(search);
    // Compares without lower-cased copies: most calls find nothing and should
    // cost no allocation. Placeholders start with "$", which letter case does
    // not change, so candidates are found with a plain byte search.
    const char first = AsciiLower(search.front());
    if (first < 'a' || first > 'z') {
        if (text.size() < search.size())
            return std::string::npos;
        const std::size_t last = text.size() - search.size();
        for (std::size_t pos = text.find(first); pos != std::string::npos && pos <= last;
             pos = text.find(first, pos + 1)) {
            if (EqualsIgnoringAsciiCase(text.data() + pos, search))
                return pos;
        }
        return std::string::npos;
    }
    const auto it = std::search(text.begin(), text.end(), search.begin(), search.end(),
                                [](char t, char s) { return AsciiLower(t) == AsciiLower(s); });
    return it == text.end() ? std::string::npos : static_cast<std::size_t>(it - text.begin());
}

} // namespace

void ReplaceAll(std::string& text, const std::string& search, const std::string& replacement, bool caseSensitive)
{
    if (search.empty())
        return;
    const std::size_t first = FindFirst(text, search, caseSensitive);
    if (first == std::string::npos)
        return;
    text = Replacer(search, replacement, caseSensitive).Run(text, first);
}

bool ReplaceAllWithin(std::string& text, const std::string& search, const std::string& replacement, bool caseSensitive,
                      std::size_t maxSize)
{
    if (search.empty())
        return text.size() <= maxSize;
    const std::size_t first = FindFirst(text, search, caseSensitive);
    if (first == std::string::npos)
        return text.size() <= maxSize;
    Replacer replacer(search, replacement, caseSensitive, maxSize);
    std::string result = replacer.Run(text, first);
    if (replacer.Exceeded() || result.size() > maxSize)
        return false;
    text = std::move(result);
    return true;
}

std::string ReplacedAll(std::string text, const std::string& search, const std::string& replacement, bool caseSensitive)
{
    ReplaceAll(text, search, replacement, caseSensitive);
    return text;
}

void ReplaceAllInLines(std::vector<std::string>& lines, const std::string& search, const std::string& replacement,
                       bool caseSensitive)
{
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        ReplaceAll(*it, search, replacement, caseSensitive);
}

std::vector<std::string> SplitFields(const std::string& text, char separator)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t pos = text.find(separator); pos != std::string::npos; pos = text.find(separator, start)) {
        fields.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
    if (start < text.size())
        fields.push_back(text.substr(start));
    return fields;
}

std::string FieldByIndex(const std::vector<std::string>& fields, std::size_t index)
{
    if (index == 0 || index > fields.size())
        return {};
    return fields[index - 1];
}

std::string NthField(const std::string& text, char separator, std::size_t fieldNumber)
{
    if (fieldNumber == 0)
        return {};
    std::size_t start = 0;
    for (std::size_t field = 1; field < fieldNumber; ++field) {
        const std::size_t pos = text.find(separator, start);
        if (pos == std::string::npos)
            return {};
        start = pos + 1;
    }
    const std::size_t end = text.find(separator, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string TrimByLimit(unsigned char limit, const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= limit)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= limit)
        --last;
    return text.substr(first, last - first);
}

std::string TrimLeftByLimit(unsigned char limit, const std::string& text)
{
    std::size_t first = 0;
    while (first < text.size() && static_cast<unsigned char>(text[first]) <= limit)
        ++first;
    return text.substr(first);
}

std::string Trim(const std::string& text)
{
    return TrimByLimit(32, text);
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace tw
