// Generates a small menu with a template set made from one input: the parts
// between the lines "--8<--" are template.ini, Header.txt and the entry
// snippet of every kind for whatever level names the file gives. By the
// input's length, Footer.txt is a link to another file of the set or out of
// it, or a link out of the output folder waits under an output name.
// Generation must end normally, write only into its output folder, and read
// nothing outside the template set.
#include "document/qzhtml.h"
#include "generator/generator.h"
#include "platform/messages.h"
#include "platform/paths.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

class DiscardingSink : public tw::MessageSink {
public:
    void ShowMessage(const std::string&) override {}
};

std::vector<std::string> Parts(std::string_view input)
{
    std::vector<std::string> parts;
    constexpr std::string_view Cut = "\n--8<--\n";
    for (std::size_t start = 0;;) {
        const std::size_t end = input.find(Cut, start);
        parts.emplace_back(input.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + Cut.size();
    }
}

void Write(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::size_t CountEntries(const fs::path& directory)
{
    std::size_t count = 0;
    for (auto it = fs::recursive_directory_iterator(directory); it != fs::recursive_directory_iterator(); ++it)
        ++count;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static DiscardingSink sink;
    static const fs::path work = fs::temp_directory_path() / ("tw_fuzz_tpl_" + std::to_string(::getpid()));
    fs::remove_all(work);
    const fs::path set = work / "T" / "set";
    const fs::path out = work / "out" / "a";
    fs::create_directories(set);
    fs::create_directories(out);
    // A snippet outside the set that a level name must not reach.
    Write(work / "T" / "x_MenuPoint.txt", "outside\r\n");
    Write(work / "x_MenuPoint.txt", "outside\r\n");

    const std::vector<std::string> parts = Parts(std::string_view(reinterpret_cast<const char*>(data), size));
    Write(set / "template.ini", parts[0]);
    if (parts.size() > 1)
        Write(set / "Header.txt", parts[1]);
    const char* const kinds[] = {"MenuPoint", "MPOpen", "MPParent", "Separator", "SubMenuEnd"};
    for (std::size_t i = 2; i < parts.size() && i < 2 + std::size(kinds); ++i) {
        for (const char* level : {"top", "sub"})
            Write(set / (std::string(level) + "_" + kinds[i - 2] + ".txt"), parts[i]);
    }
    const std::string fileExt = parts.size() > 7 ? parts[7].substr(0, 16) : std::string();
    switch (size % 3) {
    case 0:
        fs::create_symlink("Header.txt", set / "Footer.txt");
        break;
    case 1:
        fs::create_symlink("../../x_MenuPoint.txt", set / "Footer.txt");
        break;
    default:
        fs::create_symlink("../../victim", out / "Child1.htm");
        break;
    }

    tw::TqzHTML document;
    tw::MenuTree& tree = document.Tree();
    tw::MenuNode& a = tree.AddChild(tree.Root(), "A");
    document.CreateItemData(a);
    tw::MenuNode& a1 = tree.AddChild(a, "A1");
    document.CreateItemData(a1);
    document.CreateItemData(tree.AddChild(a1, "A1a"));
    document.CreateItemData(tree.AddChild(tree.Root(), "B"));
    document.Variables().AddVariable("v", "$Title$ $v$", false);
    document.SetFileSetting(tw::fsTemplate, "set");
    document.SetFileSetting(tw::fsFileExt, fileExt);
    document.SetFileSetting(tw::fsFilename, tw::FromFsPath(out / "menu.htm"));
    tw::SetTemplatesDirectory(tw::FromFsPath(work / "T"));
    const std::size_t before = CountEntries(work);
    const std::size_t planted = CountEntries(out);
    tw::Generate(document, sink);

    // Nothing but the generated files is new, and all of them lie in out;
    // the planted link led nowhere.
    if (CountEntries(work) != before + CountEntries(out) - planted || fs::exists(fs::symlink_status(work / "victim")))
        std::abort();
    bool markerInInput = false;
    for (const std::string& part : parts)
        markerInInput = markerInInput || part.find("outside") != std::string::npos;
    for (const auto& entry : fs::directory_iterator(out)) {
        if (markerInInput)
            break;
        if (fs::is_symlink(entry.symlink_status()))
            continue;
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (text.find("outside") != std::string::npos)
            std::abort();
    }
    return 0;
}
