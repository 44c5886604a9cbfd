// Parses any bytes as a profile file, then writes a key and checks that it
// reads back, also after the file was written out and parsed again.
#include "platform/inifile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// Names and values as the program writes them: letters and digits only.
std::string PlainText(FuzzedDataProvider& input, std::size_t maxLength, const char* fallback)
{
    std::string text;
    for (char c : input.ConsumeRandomLengthString(maxLength)) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            text += c;
    }
    return text.empty() ? fallback : text;
}

void ExpectValue(const tw::IniFile& ini, const std::string& section, const std::string& key, const std::string& value)
{
    const auto read = ini.Read(section, key);
    if (!read || *read != value)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string section = PlainText(input, 12, "Main");
    const std::string key = PlainText(input, 12, "Title");
    const std::string value = PlainText(input, 40, "x");
    tw::IniFile ini = tw::IniFile::FromBytes(input.ConsumeRemainingBytesAsString());

    ini.ReadString("Main", "TextColor", "clNone");
    ini.ReadInteger("Level", "MaxLevel", 0);
    ini.Write(section, key, value);
    ExpectValue(ini, section, key, value);
    ExpectValue(tw::IniFile::FromBytes(ini.ToBytes()), section, key, value);
    return 0;
}
