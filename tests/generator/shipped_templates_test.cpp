#include "generator/generator.h"
#include "generator/templateset.h"
#include "generator_test_support.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <optional>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace tw::test {
namespace {

const std::vector<std::string> ShippedSets{"Aufklappbar", "Aufklappend", "Einbinden",
                                           "Komplett",    "Rahmen",      "Seitenleiste"};
// The set whose menu is a piece of HTML for other pages to include.
const std::string FragmentSet = "Einbinden";

// Item text is HTML written by the user; the sample keeps to plain words.
void BuildSampleMenu(TqzHTML& document)
{
    MenuNode& root = document.Tree().Root();
    auto add = [&](MenuNode& parent, const std::string& caption, const std::string& page) -> MenuNode& {
        return AddItem(document, parent, caption, "inhalt/" + page + ".html", "inhalt");
    };
    add(root, "Startseite", "start");
    MenuNode& about = add(root,
                          "\xDC"
                          "ber uns",
                          "verein");
    MenuNode& team = add(about, "Team", "team");
    add(team, "Vorstand", "vorstand");
    MenuNode& members = add(team, "Mitglieder", "mitglieder");
    MenuNode& honorary = add(members, "Ehrenmitglieder", "ehren");
    add(honorary,
        "Gr\xFC"
        "nder",
        "gruender");
    add(about, "Geschichte", "geschichte");
    MenuNode& offers = add(root, "Angebote", "angebote");
    add(offers, "Kurse", "kurse");
    add(offers, "Beratung", "beratung");
    add(root, "Kontakt", "kontakt");
}

void FillSettings(TqzHTML& document)
{
    document.SetString(siTitle, "Vereinsmen\xFC");
    document.SetColor(ciText, 0x202020);
    document.SetColor(ciLink, 0x8B0000);
    document.SetColor(ciHover, 0x0000CC);
    document.SetColor(ciFirstLetter, 0x008000);
    document.SetString(siFont, "Verdana, sans-serif");
    document.SetString(siFontSize, "1rem");
    document.SetString(siSubmenuFont, "Georgia, serif");
    document.SetString(siSubmenuFontSize, "0.9em");
    document.SetString(siSubmenuLeftMargin, "0.5em");
    document.SetString(siBackgroundImage, "bilder/hintergrund.png");
    document.Variables().AddVariable("Kopfzeile", "Unser Verein", false);
    document.Variables().AddVariable("Fusszeile", "Stand: Dezember", false);
}

std::string RunCommand(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int result = ::pclose(pipe);
    status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    return output;
}

// Links without a scheme or directory lead to generated files.
std::vector<std::string> LinksToGeneratedFiles(const std::string& html)
{
    static const std::regex href("href=\"([^\"]*)\"");
    std::vector<std::string> links;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), href); it != std::sregex_iterator(); ++it) {
        const std::string link = (*it)[1];
        if (link.find_first_of(":/#") == std::string::npos)
            links.push_back(link);
    }
    return links;
}

// A fragment is checked inside a page of its own; its styles stand in front
// of it, where tidy would rather see them in the head.
std::string UnexpectedTidyReports(const std::string& report)
{
    static const std::regex known("line \\d+ column \\d+ - Warning: (<[a-z]+> proprietary attribute \"aria-current\"|"
                                  "moved <style> tag to <head>! fix-style-tags: no to avoid\\.)");
    std::string unexpected;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && !std::regex_match(line, known))
            unexpected += line + "\n";
    }
    return unexpected;
}

class ShippedTemplateTest : public ::testing::TestWithParam<std::string> {
protected:
    ShippedTemplateTest()
    {
        BuildSampleMenu(document);
        document.SetFileSetting(fsTemplate, GetParam());
        document.SetFileSetting(fsFilename, out / "menu.html");
    }

    // Generates the sample and checks every written file with tidy, which
    // reports no errors and no warnings but one: the tidy of Debian 12 does
    // not know the ARIA 1.1 attribute aria-current yet.
    void GenerateAndCheck()
    {
        LoadTemplateVarList(document, GetParam());
        const GenerationCounts counts = Generate(document, messages);
        ASSERT_TRUE(messages.texts.empty()) << messages.texts.front();
        const std::vector<std::string> files = FileNames(out.Path());
        ASSERT_FALSE(files.empty());
        std::size_t generatedLinks = 0;
        for (const std::string& name : files) {
            const std::string html = ReadBytes(out.Path() / name);
            const bool fragment = GetParam() == FragmentSet;
            EXPECT_EQ(html.find("<html lang=\"de\"") != std::string::npos, !fragment) << name;
            EXPECT_EQ(html.find("<head"), fragment ? std::string::npos : html.find("<head>")) << name;
            EXPECT_NE(html.find("<nav "), std::string::npos) << name;
            EXPECT_EQ(html.find('$'), std::string::npos) << name << ": a placeholder was left";
            EXPECT_EQ(html.find("target=\"\""), std::string::npos) << name;
            for (const std::string& link : LinksToGeneratedFiles(html)) {
                ++generatedLinks;
                EXPECT_TRUE(std::filesystem::is_regular_file(out.Path() / link)) << name << " links to " << link;
            }
#ifdef TW_TIDY_EXECUTABLE
            const std::filesystem::path checked = fragment ? out.Path() / ".seite.htm" : out.Path() / name;
            if (fragment)
                WriteBytes(checked, "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"windows-1252\">\n"
                                    "<title>Seite</title>\n</head>\n<body>\n" +
                                        html + "<main><p>Inhalt</p></main>\n</body>\n</html>\n");
            int status = 0;
            const std::string report = RunCommand(std::string(TW_TIDY_EXECUTABLE) +
                                                      " -q -e --input-encoding win1252 '" + checked.string() + "' 2>&1",
                                                  status);
            EXPECT_TRUE(status == 0 || status == 1) << name << ": tidy status " << status << "\n" << report;
            EXPECT_EQ(UnexpectedTidyReports(report), "") << name;
#endif
        }
        if (!counts.submenuExt.empty()) {
            EXPECT_GT(generatedLinks, 0u);
        }
    }

    TemporaryDirectory out;
    RecordedMessages messages;
    TqzHTML document;
};

TEST_P(ShippedTemplateTest, GeneratesCleanHtmlWithWorkingLinks)
{
#ifndef TW_TIDY_EXECUTABLE
    GTEST_SKIP() << "tidy is not installed";
#endif
    FillSettings(document);
    GenerateAndCheck();
}

TEST_P(ShippedTemplateTest, EmptySettingsGiveNoHtmlErrorsAndNoBrokenStyles)
{
    document.SetString(siHr, "");
    GenerateAndCheck();
    const std::string html = ReadBytes(out.Path() / "menu.html");
    // An empty value only ever ends up in a custom property or an attribute.
    static const std::regex emptyDeclaration("(^|[;{\\s])[a-z][a-z-]*:\\s*;");
    EXPECT_FALSE(std::regex_search(html, emptyDeclaration));
}

TEST_P(ShippedTemplateTest, EveryItemLinkOpensInTheItemsTarget)
{
    Generate(document, messages);
    ASSERT_TRUE(messages.texts.empty());
    static const std::regex itemLink("<a [^>]*href=\"inhalt/[^\"]*\"[^>]*>");
    for (const std::string& name : FileNames(out.Path())) {
        const std::string html = ReadBytes(out.Path() / name);
        std::size_t links = 0;
        for (auto it = std::sregex_iterator(html.begin(), html.end(), itemLink); it != std::sregex_iterator(); ++it) {
            ++links;
            EXPECT_NE(it->str().find(" target=\"inhalt\""), std::string::npos) << name << ": " << it->str();
        }
        EXPECT_GT(links, 0u) << name;
    }
}

// A main file named with "#", "?" and "%": every link to a generated file,
// the way back to the main file and the canonical link included, finds it.
TEST_P(ShippedTemplateTest, LinksFindAMainFileWithAnAwkwardName)
{
    document.SetFileSetting(fsFilename, out / "men\xFC#1?a=5%.html");
    Generate(document, messages);
    ASSERT_TRUE(messages.texts.empty());
    static const std::regex generated("href=\"(men[^\"#]*|Child[^\"#]*)(#[^\"]*)?\"");
    std::size_t links = 0;
    for (const std::string& name : FileNames(out.Path())) {
        const std::string html = ReadBytes(out.Path() / name);
        for (auto it = std::sregex_iterator(html.begin(), html.end(), generated); it != std::sregex_iterator(); ++it) {
            std::string target = (*it)[1];
            for (std::size_t at = target.find('%'); at != std::string::npos; at = target.find('%', at + 1))
                target.replace(at, 3, 1, static_cast<char>(std::stoi(target.substr(at + 1, 2), nullptr, 16)));
            ++links;
            EXPECT_TRUE(std::filesystem::is_regular_file(out.Path() / target)) << name << ": " << it->str();
        }
    }
    // The one-file sets link to no generated file at all.
    EXPECT_EQ(links > 0, GetParam() == "Aufklappend" || GetParam() == "Rahmen" || GetParam() == "Seitenleiste");
}

// The embedded form of a set lives in its own section and snippet files,
// which generate never reads: without them the set writes the same bytes.
TEST_P(ShippedTemplateTest, TheEmbeddedFormLeavesGeneratedBytesAsTheyWere)
{
    FillSettings(document);
    LoadTemplateVarList(document, GetParam());
    Generate(document, messages);
    TemporaryDirectory templates;
    const std::filesystem::path copy = templates.Path() / GetParam();
    std::filesystem::create_directory(copy);
    for (const auto& entry : std::filesystem::directory_iterator(ToFsPath(TemplatesDirectory() + GetParam()))) {
        const std::string name = entry.path().filename().string();
        std::string bytes = ReadBytes(entry.path());
        if (name == "template.ini" && bytes.find("\n[Embed]") != std::string::npos)
            bytes.erase(bytes.find("\n[Embed]"));
        if (!name.starts_with("Embed_") && !name.starts_with("e_"))
            WriteBytes(copy / name, bytes);
    }
    TemporaryDirectory plain;
    document.SetFileSetting(fsFilename, plain / "menu.html");
    {
        TemplatesOverride override(templates.Path());
        Generate(document, messages);
    }
    EXPECT_TRUE(messages.texts.empty());
    const std::vector<std::string> files = FileNames(out.Path());
    EXPECT_EQ(files, FileNames(plain.Path()));
    for (const std::string& name : files)
        EXPECT_EQ(ReadBytes(out.Path() / name), ReadBytes(plain.Path() / name)) << name;
}

INSTANTIATE_TEST_SUITE_P(Sets, ShippedTemplateTest, ::testing::ValuesIn(ShippedSets));

TEST(ShippedTemplatesTest, TogetherUseEveryPlaceholder)
{
    std::string text;
    for (const std::string& set : ShippedSets) {
        for (const auto& entry : std::filesystem::directory_iterator(ToFsPath(TemplatesDirectory() + set)))
            text += ReadBytes(entry.path());
    }
    TqzHTML document;
    std::vector<std::string> placeholders{"$Link$",          "$LinkTarget$", "$Linkname$",    "$LinkID$",
                                          "$FirstLetter$",   "$RestLetter$", "$FileNameURL$", "$CurrentFilenameURL$",
                                          "$Kopfzeile$",     "$Fusszeile$",  "$ItemLink$",    "$ItemTargetOrSelf$",
                                          "$CurrentLinkID$", "$Farbschema$"};
    for (int index = 1; index <= ColorCount; ++index)
        placeholders.push_back(document.GetColorPlaceholder(index));
    for (int index = 1; index <= StringCount; ++index)
        placeholders.push_back(document.GetStringPlaceholder(index));
    for (const std::string& placeholder : placeholders)
        EXPECT_NE(text.find(placeholder), std::string::npos) << placeholder;
}

TEST(ShippedTemplatesTest, EachSetShowsItsOwnStructure)
{
    RecordedMessages messages;
    TqzHTML document;
    const std::vector<std::tuple<std::string, bool, int, std::size_t>> expected{
        // set, all in one, MaxLevel, level entries
        {"Aufklappend", false, 3, 2}, {"Komplett", true, 255, 2},      {"Aufklappbar", true, 255, 2},
        {"Einbinden", true, 255, 2},  {"Seitenleiste", false, 255, 2}, {"Rahmen", false, 255, 3}};
    for (const auto& [set, allInOne, maxLevel, levels] : expected) {
        document.SetFileSetting(fsTemplate, set);
        const std::optional<TemplateSet> loaded = LoadTemplate(document, messages);
        ASSERT_TRUE(loaded) << set;
        EXPECT_EQ(loaded->AllInOne, allInOne) << set;
        EXPECT_EQ(loaded->MaxLevel, maxLevel) << set;
        EXPECT_EQ(loaded->Levels.size(), levels) << set;
        // The frame set serves depths below its third level with the second level's entry.
        if (set == "Rahmen") {
            EXPECT_EQ(LevelFor(*loaded, 5).Name, "mitte");
        }
    }

    LoadTemplateVarList(document, "Rahmen");
    ASSERT_EQ(document.Variables().Count(), 3u);
    EXPECT_EQ(document.Variables().Caption(0), "Kopfzeile");
    EXPECT_EQ(document.Variables().Caption(1), "Fusszeile");
    EXPECT_EQ(document.Variables().Caption(2), "Farbschema");
    EXPECT_TRUE(messages.texts.empty());
}

TEST(ShippedTemplatesTest, OpenFilesMarkTheOpenPath)
{
    TemporaryDirectory out;
    RecordedMessages messages;
    TqzHTML document;
    BuildSampleMenu(document);
    document.SetFileSetting(fsFilename, out / "menu.html");
    for (const std::string set : {"Aufklappend", "Rahmen", "Seitenleiste"}) {
        document.SetFileSetting(fsTemplate, set);
        Generate(document, messages);
        const std::string main = ReadBytes(out.Path() / "menu.html");
        const std::string team = ReadBytes(out.Path() / "Child2,1.html");
        EXPECT_EQ(main.find("aria-current"), std::string::npos) << set;
        // Screen readers announce the mark on the link, not on its list item.
        static const std::regex linkMark("<a [^>]*aria-current=\"true\"");
        const std::size_t marks =
            std::distance(std::sregex_iterator(team.begin(), team.end(), linkMark), std::sregex_iterator());
        EXPECT_EQ(team.find("<li aria-current"), std::string::npos) << set;
        EXPECT_EQ(marks, 2u) << set
                             << ": \xDC"
                                "ber uns and Team are open";
    }
    EXPECT_TRUE(messages.texts.empty());
}

} // namespace
} // namespace tw::test
