#include "document/cstring.h"

#include <algorithm>
#include <cstring>

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

// Rebuilds the text front to back on a stack: a byte is pushed onto the
// output, and when the output then ends with the search text, that tail is
// popped and the replacement is queued in front of the unread input. This
// finds exactly the leftmost occurrence each time, as searching again from
// the beginning would, in linear time however many replacements there are.
class Replacer {
public:
    Replacer(const TextReplacement& replacement, std::size_t maxSize, std::size_t barrier, std::size_t budget)
        : search_(replacement.Search()), replacement_(replacement.Replacement()),
          caseSensitive_(replacement.CaseSensitive()), replacementHoldsSearch_(replacement.ReplacementHoldsSearch()),
          maxSize_(maxSize), replacementBudget_(budget), barrier_(barrier)
    {
    }

    // Goes on from the occurrence at firstMatch; false when the text would
    // grow beyond maxSize.
    bool Run(std::string& text, std::size_t firstMatch)
    {
        out_.assign(text, 0, firstMatch);
        out_.reserve(text.size() + text.size() / 4);
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
            if (out_.size() + queued_.size() + (text.size() - next) > maxSize_)
                return false;
        }
        text = std::move(out_);
        return true;
    }

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
            out_ += replacement_;
            barrier_ = out_.size();
            return;
        }
        --replacementBudget_;
        queued_.append(replacement_.rbegin(), replacement_.rend());
    }

    const std::string& search_;
    const std::string& replacement_;
    bool caseSensitive_;
    bool replacementHoldsSearch_;
    std::size_t maxSize_;
    std::size_t replacementBudget_;
    std::size_t barrier_;
    std::string out_;
    std::string queued_; // bytes still to push, last one first
};

// Guard against a rewrite that never settles: after this many replacements
// every further one continues behind its inserted text. Rewrites that do
// settle can need far more replacements than the text has bytes (each one
// may double what the next ones see), so even short texts get a generous
// allowance.
std::size_t ReplacementBudget(std::size_t textSize)
{
    return std::max<std::size_t>(8 * (textSize + 16), std::size_t{1} << 16);
}

} // namespace

TextReplacement::TextReplacement(std::string search, std::string replacement, bool caseSensitive)
    : search_(caseSensitive ? std::move(search) : AsciiLowerCase(std::move(search))), caseSensitive_(caseSensitive)
{
    SetReplacement(std::move(replacement));
}

void TextReplacement::SetReplacement(std::string replacement)
{
    replacement_ = std::move(replacement);
    replacementHoldsSearch_ = !search_.empty() && Find(replacement_, 0) != std::string::npos;
}

std::size_t TextReplacement::Find(std::string_view text, std::size_t from) const
{
    const std::size_t n = search_.size();
    if (n == 0 || text.size() < n || from > text.size() - n)
        return std::string::npos;
    if (caseSensitive_)
        return text.find(search_, from);
    const char* const data = text.data();
    const char* const end = data + (text.size() - n) + 1; // behind the last possible start
    const char first = search_.front();
    const bool letter = first >= 'a' && first <= 'z';
    const char upper = static_cast<char>(first - ('a' - 'A'));
    // Placeholders share their first bytes ("$Link$", "$LinkID$"), so the
    // last byte tells most candidates apart at once.
    auto matches = [this, n](const char* candidate) {
        if (AsciiLower(candidate[n - 1]) != search_[n - 1])
            return false;
        for (std::size_t i = 1; i + 1 < n; ++i) {
            if (AsciiLower(candidate[i]) != search_[i])
                return false;
        }
        return true;
    };
    for (const char* candidate = data + from; candidate < end; ++candidate) {
        // Placeholders start with "$", which letter case does not change, so
        // candidates are found with a plain byte search.
        if (letter) {
            while (candidate < end && *candidate != first && *candidate != upper)
                ++candidate;
            if (candidate == end)
                break;
        } else {
            candidate =
                static_cast<const char*>(std::memchr(candidate, first, static_cast<std::size_t>(end - candidate)));
            if (!candidate)
                break;
        }
        if (matches(candidate))
            return static_cast<std::size_t>(candidate - data);
    }
    return std::string::npos;
}

bool TextReplacement::ApplyWithin(std::string& text, std::size_t maxSize) const
{
    std::size_t pos = Find(text, 0);
    if (pos == std::string::npos)
        return text.size() <= maxSize;
    const std::size_t n = search_.size();
    const std::size_t r = replacement_.size();
    std::size_t budget = ReplacementBudget(text.size());
    std::size_t barrier = 0;
    // Splicing moves the rest of the text each time; once that has cost
    // more than rebuilding would, the text is rebuilt instead.
    std::size_t moved = 0;
    const std::size_t affordable = 2 * text.size() + 4096;
    while (pos != std::string::npos) {
        if (moved > affordable)
            return Replacer(*this, maxSize, barrier, budget).Run(text, pos);
        if (text.size() - n + r > maxSize)
            return false;
        text.replace(pos, n, replacement_);
        moved += text.size() - pos;
        std::size_t from;
        if (replacementHoldsSearch_ || budget == 0) {
            barrier = pos + r;
            from = barrier;
        } else {
            --budget;
            // The text before pos held no occurrence, so the next one can
            // start no earlier than where it would reach into the seam.
            from = std::max(barrier, pos + 1 >= n ? pos + 1 - n : 0);
        }
        pos = Find(text, from);
    }
    return text.size() <= maxSize;
}

void ReplaceAll(std::string& text, const std::string& search, const std::string& replacement, bool caseSensitive)
{
    TextReplacement(search, replacement, caseSensitive).ApplyWithin(text, std::string::npos);
}

bool ReplaceAllWithin(std::string& text, const std::string& search, const std::string& replacement, bool caseSensitive,
                      std::size_t maxSize)
{
    return TextReplacement(search, replacement, caseSensitive).ApplyWithin(text, maxSize);
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

std::string LineBreaksToBlanks(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // CR LF counts as one break
        result += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
    return result;
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

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace tw
