#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// A profile (INI) file with the semantics of the Windows profile functions:
// sections and keys match without regard to letter case (A-Z), the first match
// wins, blanks around values are removed, a value in matching quotation marks
// comes back without them, values are cut to 2047 characters. Writing a key
// replaces it in place or appends it to its section (the section is created at
// the end when missing); every other line stays as it was. Lines end in CR LF.
class IniFile {
public:
    static constexpr std::size_t MaxValueLength = 2047;

    IniFile() = default;
    // Parses the bytes of a file; any byte sequence is accepted.
    static IniFile FromBytes(const std::string& bytes);
    // Reads the file; a missing or unreadable file gives an empty IniFile.
    // A path that names a FIFO, a device or a socket throws tw::Error instead.
    static IniFile Load(const std::string& cp1252Path);

    std::optional<std::string> Read(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    // Decimal with sign, or hexadecimal after "0x", "0X" or "$"; anything
    // else, or a value outside the 32-bit range, counts as absent.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t defaultValue) const;

    void Write(const std::string& section, const std::string& key, const std::string& value);

    std::string ToBytes() const;

private:
    std::vector<std::string> lines_;
};

// The integer rule of the profile functions, also used for "TWF" versions.
std::optional<int32_t> ParseProfileInteger(const std::string& text);

} // namespace tw
