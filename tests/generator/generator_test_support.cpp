#include "generator_test_support.h"

#include "generator/generator.h"
#include "platform/paths.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tw::test {

TemporaryDirectory::TemporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tw-generator-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

std::string TemporaryDirectory::operator/(const std::string& name) const
{
    return FromFsPath(path_ / name);
}

void WriteTextFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string ReadTextFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> FileNames(const std::filesystem::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string CrLfLines(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

MenuNode& AddItem(TqzHTML& document, MenuNode& parent, const std::string& caption, const std::string& link,
                  const std::string& target)
{
    MenuNode& node = document.Tree().AddChild(parent, caption);
    document.CreateItemData(node);
    node.Item()->Link = link;
    node.Item()->Target = target;
    return node;
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
