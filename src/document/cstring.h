#pragma once

#include <string>
#include <string_view>
#include <vector>

// Text utilities shared by the document, the project files, the generator and
// the editors. All texts are Windows-1252 byte strings.

namespace tw {

// Lower-cases the letters A-Z only; every other byte is kept.
char AsciiLower(char c);
std::string AsciiLowerCase(std::string text);
std::string AsciiUpperCase(std::string text);
bool SameTextAscii(const std::string& a, const std::string& b);

// Replaces every occurrence of search in text, searching again from the
// beginning after each replacement in effect (so text formed across the seam
// of a replacement is replaced too). Without caseSensitive only A-Z are
// compared without regard to case. When the replacement holds the search text
// itself, the search goes on behind the inserted text so the call ends.
void ReplaceAll(std::string& text, const std::string& search, const std::string& replacement, bool caseSensitive);
// ReplaceAll, but gives up when the text would grow beyond maxSize bytes:
// then the result is false and the text is partly replaced.
bool ReplaceAllWithin(std::string& text, const std::string& search, const std::string& replacement, bool caseSensitive,
                      std::size_t maxSize);
std::string ReplacedAll(std::string text, const std::string& search, const std::string& replacement,
                        bool caseSensitive);
// One ReplaceAll prepared once for many texts: the search text as compared
// and whether the replacement holds it.
class TextReplacement {
public:
    TextReplacement(std::string search, std::string replacement, bool caseSensitive);

    const std::string& Search() const { return search_; }
    const std::string& Replacement() const { return replacement_; }
    bool CaseSensitive() const { return caseSensitive_; }
    bool ReplacementHoldsSearch() const { return replacementHoldsSearch_; }
    void SetReplacement(std::string replacement);

    // The first occurrence at or behind from; npos when there is none.
    std::size_t Find(std::string_view text, std::size_t from) const;
    // ReplaceAllWithin with this search text and replacement.
    bool ApplyWithin(std::string& text, std::size_t maxSize) const;

private:
    std::string search_;
    std::string replacement_;
    bool caseSensitive_;
    bool replacementHoldsSearch_ = false;
};

// Every line through ReplaceAll, from the last line to the first.
void ReplaceAllInLines(std::vector<std::string>& lines, const std::string& search, const std::string& replacement,
                       bool caseSensitive);

// 'a;;b;' gives 'a', '', 'b'; a trailing separator adds no element.
std::vector<std::string> SplitFields(const std::string& text, char separator);
// 1-based; the empty string behind the last element.
std::string FieldByIndex(const std::vector<std::string>& fields, std::size_t index);
// 1-based field of text; empty when the text has fewer fields.
std::string NthField(const std::string& text, char separator, std::size_t fieldNumber);

// Removes leading and trailing bytes whose unsigned code is at most limit.
std::string TrimByLimit(unsigned char limit, const std::string& text);
std::string TrimLeftByLimit(unsigned char limit, const std::string& text);
// Blanks and control characters (limit 32).
std::string Trim(const std::string& text);

inline bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Splits text into lines at CR LF, lone CR or lone LF. A final line break
// does not start another line.
std::vector<std::string> SplitLines(const std::string& text);
// One blank for every line break (CR LF, a lone CR or a lone LF).
std::string LineBreaksToBlanks(const std::string& text);
// The value of a hexadecimal digit in either case, -1 for any other character.
int HexDigitValue(char c);

} // namespace tw
