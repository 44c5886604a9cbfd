#include "projectfiles_fixture.h"

#include "platform/files.h"
#include "projectfiles/projectfiles.h"

namespace tw::test {

std::string ProjectFilesTest::PathOf(const std::string& name) const
{
    return dir_ / name;
}

void ProjectFilesTest::WriteBytes(const std::string& name, const std::string& bytes) const
{
    dir_.Write(name, bytes);
}

std::string ProjectFilesTest::ReadBytes(const std::string& name) const
{
    return ReadFileBytes(PathOf(name));
}

std::vector<std::string> ProjectFilesTest::DirectoryListing() const
{
    return FileNames(dir_.Path());
}

int ProjectFilesTest::Load(const std::string& name)
{
    int format = 1;
    loaded_ = LoadProject(document_, PathOf(name), format, sink_);
    return format;
}

std::string DumpTree(const TqzHTML& document)
{
    std::string dump;
    for (const MenuNode* node = document.Tree().Root().NextPreOrder(); node; node = node->NextPreOrder()) {
        dump += std::string(static_cast<std::size_t>(node->Level() - 1) * 2, ' ');
        dump += node->Caption() + "|" + node->Item()->Link + "|" + node->Item()->Target + "\n";
    }
    return dump;
}

void ExpectSameSettings(const TqzHTML& actual, const TqzHTML& expected)
{
    for (int i = 1; i <= ColorCount; ++i)
        EXPECT_EQ(actual.GetColor(i), expected.GetColor(i)) << "colour " << i;
    for (int i = 1; i <= StringCount; ++i)
        EXPECT_EQ(actual.GetString(i), expected.GetString(i)) << "text " << i;
    for (int i = 1; i <= FileSettingCount; ++i)
        EXPECT_EQ(actual.GetFileSetting(i), expected.GetFileSetting(i)) << "file setting " << i;
}

std::string DumpVariables(const TqzHTML& document)
{
    std::string dump;
    std::string name;
    std::string value;
    for (std::size_t i = 0; i < document.Variables().Count(); ++i) {
        document.Variables().GetVariable(i, name, value);
        dump += name + "=" + value + "\n";
    }
    return dump;
}

void FillSampleProject(TqzHTML& document)
{
    MenuNode& root = document.Tree().Root();
    MenuNode& home = AddItem(document, root, "Start", "index.htm", "main");
    MenuNode& news = AddItem(document, home, "News \xB6 Presse", "news.htm");
    AddItem(document, news, "Archiv", "archiv.htm", "_blank");
    AddItem(document, home, "Kontakt", "");
    AddItem(document, root,
            "\xDC"
            "ber uns",
            "http://example.org/?a=1&b=2", "");

    document.SetColor(ciText, 0x0000FF);         // clRed
    document.SetColor(ciBackground, 0x00C8E0F0); // no name
    document.SetColor(ciLink, 0x80000005);       // clWindow
    document.SetColor(ciALink, clNone);
    document.SetColor(ciVLink, 0x00808080); // clGray
    document.SetColor(ciHover, 0x12345678);
    document.SetColor(ciFirstLetter, 0xFFFFFFFF);
    const std::vector<std::string> texts{"Meine Seite", "Verdana, Arial", "10pt",       "Tahoma", "8pt",
                                         "12",          "bilder/hg.gif",  "<hr size=1>"};
    for (int i = 1; i <= StringCount; ++i)
        document.SetString(i, texts[static_cast<std::size_t>(i - 1)]);
    document.SetFileSetting(fsTemplate, "Standard");
    document.SetFileSetting(fsFilename, "C:\\web\\menu.htm");
    document.SetFileSetting(fsFileExt, ".html");

    document.Variables().AddVariable("Autor", "Erika \xB6 Mustermann", false);
    document.Variables().AddVariable("Fuss", "Zeile 1\r\nZeile 2\nZeile 3", false);
    document.Variables().AddVariable("Leer", "", true);
}

} // namespace tw::test
