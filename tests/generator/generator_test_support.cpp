#include "generator_test_support.h"

#include "generator/generator.h"
#include "platform/paths.h"

namespace tw::test {

std::string CrLfLines(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

TemplatesOverride::TemplatesOverride(const std::filesystem::path& directory)
{
    SetTemplatesDirectory(FromFsPath(directory));
}

TemplatesOverride::~TemplatesOverride()
{
    SetTemplatesDirectory({});
}

} // namespace tw::test
