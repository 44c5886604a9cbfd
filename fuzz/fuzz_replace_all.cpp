// Replace all against a plain reference that searches the whole text again
// after every replacement, on small alphabets where replacements meet at
// their seams, hold their own search text or multiply.
#include "document/cstring.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        c = tw::AsciiLower(c);
    return text;
}

// The first occurrence at or behind from.
std::size_t FindFrom(const std::string& text, const std::string& search, std::size_t from, bool caseSensitive)
{
    return caseSensitive ? text.find(search, from) : Lower(text).find(Lower(search), from);
}

// Replaces the first occurrence again and again. A replacement holding its
// search text, and every replacement beyond the allowance, continues behind
// what it inserted so that the rewrite ends.
bool Reference(std::string& text, const std::string& search, const std::string& replacement, bool caseSensitive,
               std::size_t maxSize)
{
    if (search.empty())
        return text.size() <= maxSize;
    const bool holdsSearch = FindFrom(replacement, search, 0, caseSensitive) != std::string::npos;
    std::size_t allowance = std::max<std::size_t>(8 * (text.size() + 16), std::size_t{1} << 16);
    std::size_t barrier = 0;
    for (std::size_t pos = FindFrom(text, search, 0, caseSensitive); pos != std::string::npos;
         pos = FindFrom(text, search, barrier, caseSensitive)) {
        text.replace(pos, search.size(), replacement);
        if (text.size() > maxSize)
            return false;
        if (holdsSearch || allowance == 0)
            barrier = pos + replacement.size();
        else
            --allowance;
    }
    return text.size() <= maxSize;
}

std::string Pick(FuzzedDataProvider& input, const std::string& alphabet, std::size_t maxLength)
{
    std::string text(input.ConsumeIntegralInRange<std::size_t>(0, maxLength), ' ');
    for (char& c : text)
        c = alphabet[input.ConsumeIntegralInRange<std::size_t>(0, alphabet.size() - 1)];
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool caseSensitive = input.ConsumeBool();
    const std::string alphabet = input.ConsumeBool() ? "ab" : "aAbB$\xE4\xC4";
    const std::size_t maxSize = input.ConsumeBool() ? 4096 : input.ConsumeIntegralInRange<std::size_t>(0, 64);
    const std::string search = Pick(input, alphabet, 4);
    const std::string replacement = Pick(input, alphabet, 8);
    const std::string text = Pick(input, alphabet, 200);

    std::string expected = text;
    const bool expectedFits = Reference(expected, search, replacement, caseSensitive, maxSize);
    std::string actual = text;
    const bool actualFits = tw::ReplaceAllWithin(actual, search, replacement, caseSensitive, maxSize);
    if (actualFits != expectedFits || (expectedFits && actual != expected))
        std::abort();
    return 0;
}
