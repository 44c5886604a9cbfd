#include "support/test_support.h"

#include "platform/paths.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tw::test {

void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::filesystem::path PercentDecoded(const std::string& link)
{
    std::string bytes;
    for (std::size_t i = 0; i < link.size(); ++i) {
        if (link[i] == '%' && i + 2 < link.size()) {
            bytes += static_cast<char>(std::stoi(link.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            bytes += link[i];
        }
    }
    return std::filesystem::path(bytes);
}

std::string ReadBytes(const std::filesystem::path& path)
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

TemporaryDirectory::TemporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tw-test-XXXXXX").string();
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

std::filesystem::path TemporaryDirectory::Write(const std::string& relativePath, const std::string& bytes) const
{
    const std::filesystem::path path = path_ / relativePath;
    WriteBytes(path, bytes);
    return path;
}

MenuNode& AddItem(TqzHTML& document, MenuNode& parent, const std::string& caption, const std::string& link,
                  const std::string& target)
{
    return document.AppendItem(parent, caption, link, target);
}

} // namespace tw::test
