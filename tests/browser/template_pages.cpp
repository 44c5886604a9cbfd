// Writes the pages that the browser checks and the gallery look at: every
// shipped template set, once for the example project and once for a
// three-level test menu that sets no colours (so the sets' own colours and
// the dark colour scheme apply), into <output>/<set>/<beispiel|testmenue>/.
#include "generator/generator.h"
#include "projectfiles/projectfiles.h"
#include "support/test_support.h"

#include <filesystem>
#include <iostream>

namespace {

using namespace tw;
using tw::test::AddItem;

void BuildTestMenu(TqzHTML& document)
{
    MenuNode& root = document.Tree().Root();
    AddItem(document, root, "Startseite", "start.htm");
    // A parent without a link of its own, three levels deep.
    MenuNode& products = AddItem(document, root, "Produkte");
    MenuNode& tools = AddItem(document, products, "Werkzeug", "werkzeug.htm");
    AddItem(document, tools, "Hammer", "hammer.htm");
    AddItem(document, tools, "Zange", "zange.htm", "_blank");
    AddItem(document, products, "Saatgut", "saatgut.htm");
    MenuNode& help = AddItem(document, root, "Hilfe", "hilfe.htm");
    AddItem(document, help, "Anleitung", "anleitung.htm");
    AddItem(document, help,
            "H\xE4"
            "ufige Fragen",
            "fragen.htm");
    AddItem(document, root, "Kontakt", "kontakt.htm", "_blank");
    document.SetString(siTitle, "Testmen\xFC");
    document.SetFileSetting(fsFileExt, "htm");
}

// A set that writes a piece of a page is checked the way a server includes
// it: in a page of the site, here index.htm around the menu file menue.inc.
void IncludeIntoPage(const std::filesystem::path& directory)
{
    const std::filesystem::path menu = directory / "index.htm";
    const std::string fragment = tw::test::ReadBytes(menu);
    if (fragment.find("<html") != std::string::npos)
        return;
    std::filesystem::rename(menu, directory / "menue.inc");
    tw::test::WriteBytes(menu, "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"windows-1252\">\n"
                               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                               "<title>Seite mit Men\xFC</title>\n</head>\n<body>\n" +
                                   fragment +
                                   "<main>\n<h1>Inhalt</h1>\n<p>Text der Seite.</p>\n</main>\n</body>\n</html>\n");
}

bool Write(TqzHTML& document, const std::string& set, const std::filesystem::path& directory)
{
    std::filesystem::create_directories(directory);
    document.SetFileSetting(fsTemplate, set);
    document.SetFileSetting(fsFilename, (directory / "index.htm").string());
    LoadTemplateVarList(document, set);
    tw::test::RecordedMessages messages;
    Generate(document, messages);
    for (const std::string& text : messages.texts)
        std::cerr << set << ": " << text << '\n';
    if (!messages.texts.empty())
        return false;
    IncludeIntoPage(directory);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: tw_template_pages <example project .twf> <output directory>\n";
        return 2;
    }
    const std::filesystem::path output = argv[2];
    std::filesystem::remove_all(output);
    bool ok = true;
    for (const auto& entry : std::filesystem::directory_iterator(TemplatesDirectory())) {
        const std::string set = entry.path().filename().string();
        if (!entry.is_directory() || set.starts_with("."))
            continue;
        TqzHTML example;
        int format = pfBinaryV11;
        tw::test::RecordedMessages loadMessages;
        ok = LoadProject(example, argv[1], format, loadMessages) && ok;
        ok = Write(example, set, output / set / "beispiel") && ok;
        TqzHTML menu;
        BuildTestMenu(menu);
        ok = Write(menu, set, output / set / "testmenue") && ok;
    }
    return ok ? 0 : 1;
}
