// Loads a text project whose files come from one input: the parts between
// the lines "--8<--" are the menu file, the settings file (".tws", also used
// as the older ".tsf"), the variables file and the older item file (".tmf").
// Fewer parts leave the later files missing. A project that loaded must save
// in the text format and load again; one read from a current menu file must
// come back with the same items and variables.
#include "document/cstring.h"
#include "document/qzhtml.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "projectfiles/projectfiles.h"
#include "projectfiles/textformat.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

class DiscardingSink : public tw::MessageSink {
public:
    void ShowMessage(const std::string&) override {}
};

class WorkDirectory {
public:
    WorkDirectory() : path_(std::filesystem::temp_directory_path() / ("tw_fuzz_text_" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path_);
    }
    ~WorkDirectory()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::filesystem::path File(const char* extension) const { return path_ / (std::string("p") + extension); }

private:
    std::filesystem::path path_;
};

void Place(const std::filesystem::path& file, std::string_view part, bool present)
{
    if (!present) {
        std::filesystem::remove(file);
        return;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(part.data(), static_cast<std::streamsize>(part.size()));
}

// Items with their levels, then the variables.
std::string Contents(const tw::TqzHTML& document)
{
    std::string contents;
    for (const tw::MenuNode* node = document.Tree().Root().NextPreOrder(); node; node = node->NextPreOrder()) {
        const tw::TMTItem& item = *node->Item();
        contents += std::to_string(node->Level()) + node->Caption() + '|' + item.Link + '|' + item.Target + '\n';
    }
    std::string name;
    std::string value;
    for (std::size_t i = 0; i < document.Variables().Count(); ++i) {
        document.Variables().GetVariable(i, name, value);
        contents += name + '=' + value + '\n';
    }
    return contents;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static DiscardingSink sink;
    static const WorkDirectory work;
    constexpr std::string_view Separator = "\n--8<--\n";
    constexpr std::array<std::array<const char*, 2>, 4> Files{
        {{".twf", nullptr}, {".tws", ".tsf"}, {".twv", nullptr}, {".tmf", nullptr}}};

    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string menuBytes(rest.substr(0, rest.find(Separator)));
    const auto menuLines = tw::SplitLines(menuBytes);
    const bool wasCurrentVersion = !menuLines.empty() && tw::DetectTextVersion(menuLines.front()) == 2;
    bool present = true;
    for (const auto& extensions : Files) {
        const std::size_t end = rest.find(Separator);
        const std::string_view part = present ? rest.substr(0, end) : std::string_view();
        for (const char* extension : extensions) {
            if (extension)
                Place(work.File(extension), part, present);
        }
        present = present && end != std::string_view::npos;
        rest = present ? rest.substr(end + Separator.size()) : std::string_view();
    }

    const std::string menuPath = tw::FromFsPath(work.File(".twf"));
    tw::TqzHTML document;
    int format = 1;
    // Binary bytes in the menu file load as a binary project; the binary
    // harnesses take those through the text format.
    if (!tw::LoadProject(document, menuPath, format, sink) || format != tw::pfText)
        return 0;
    const std::string loaded = Contents(document);
    if (!tw::SaveProject(document, menuPath, tw::pfText, sink))
        std::abort();
    tw::TqzHTML reloaded;
    if (!tw::LoadProject(reloaded, menuPath, format, sink) || (wasCurrentVersion && Contents(reloaded) != loaded))
        std::abort();
    return 0;
}
