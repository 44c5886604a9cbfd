#include "platform/inifile.h"

#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <system_error>

namespace tw {
namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string TrimBlanks(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// The section name of a header line "[name]", or nothing for other lines.
std::optional<std::string> SectionOf(const std::string& line)
{
    const std::string trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    const std::size_t close = trimmed.find(']');
    const std::string name = trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    return TrimBlanks(name);
}

struct KeyLine {
    std::string key;
    std::string value;
};

std::optional<KeyLine> KeyOf(const std::string& line)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return KeyLine{TrimBlanks(line.substr(0, eq)), line.substr(eq + 1)};
}

std::string CleanValue(const std::string& raw)
{
    std::string value = TrimBlanks(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > IniFile::MaxValueLength)
        value.resize(IniFile::MaxValueLength);
    return value;
}

} // namespace

IniFile IniFile::FromBytes(const std::string& bytes)
{
    IniFile file;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        file.lines_.push_back(bytes.substr(start, end - start));
        if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return file;
}

IniFile IniFile::Load(const std::string& cp1252Path)
{
    // A FIFO, device or socket (a FIFO would block a plain read) is reported;
    // a missing or unreadable file, or a directory, reads as empty.
    std::error_code ec;
    const auto status = std::filesystem::status(ToFsPath(cp1252Path), ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status))
        return FromBytes(ReadFileBytes(cp1252Path));
    try {
        return FromBytes(ReadFileBytes(cp1252Path));
    } catch (const Error&) {
        return IniFile{};
    }
}

std::optional<std::string> IniFile::Read(const std::string& section, const std::string& key) const
{
    bool inSection = false;
    bool sectionSeen = false;
    for (const std::string& line : lines_) {
        if (const auto name = SectionOf(line)) {
            if (sectionSeen && inSection)
                return std::nullopt; // only the first section of that name counts
            inSection = SameName(*name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection)
            continue;
        if (const auto entry = KeyOf(line); entry && SameName(entry->key, key))
            return CleanValue(entry->value);
    }
    return std::nullopt;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const
{
    return Read(section, key).value_or(defaultValue);
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const
{
    const auto text = Read(section, key);
    if (!text)
        return defaultValue;
    return ParseProfileInteger(*text).value_or(defaultValue);
}

void IniFile::Write(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string newLine = key + "=" + value;
    std::optional<std::size_t> sectionLine;
    std::size_t insertAt = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = SectionOf(lines_[i])) {
            if (sectionLine)
                break;
            if (SameName(*name, section)) {
                sectionLine = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (!sectionLine)
            continue;
        if (const auto entry = KeyOf(lines_[i]); entry && SameName(entry->key, key)) {
            lines_[i] = newLine;
            return;
        }
        if (!TrimBlanks(lines_[i]).empty())
            insertAt = i + 1; // behind the section's last non-blank line
    }
    if (!sectionLine) {
        lines_.push_back("[" + section + "]");
        lines_.push_back(newLine);
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
}

std::string IniFile::ToBytes() const
{
    std::string bytes;
    for (const std::string& line : lines_) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

std::optional<int32_t> ParseProfileInteger(const std::string& text)
{
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos >= text.size())
        return std::nullopt;
    uint64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > 0xFFFFFFFFull)
            return std::nullopt;
    }
    // Hexadecimal texts name the 32-bit pattern ($FFFFFFFF is -1), as the
    // runtime's conversion does; decimal texts must fit the signed range.
    if (base == 16 && !negative)
        return static_cast<int32_t>(static_cast<uint32_t>(magnitude));
    const int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace tw
