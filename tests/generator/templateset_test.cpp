#include "generator/generator.h"
#include "generator/templatesdir.h"
#include "generator/templateset.h"
#include "generator_test_support.h"
#include "platform/paths.h"
#include "platform/programdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace tw::test {
namespace {

const std::string NoTemplateChosen = "Sie haben keine Men\xFC"
                                     "template ausgew\xE4"
                                     "hlt.";
const std::string TemplateMissing = "Die Men\xFC"
                                    "vorlage ist nicht vorhanden.";
const std::string NoLevels = "Es wurden keine Levelvorlagen angegeben";

class TemplateSetTest : public ::testing::Test {
protected:
    std::filesystem::path Templates() const { return root.Path() / "Templates"; }

    void WriteSettings(const std::string& set, const std::string& ini)
    {
        WriteBytes(Templates() / set / "template.ini", ini);
    }

    bool Load(const std::string& set)
    {
        document.SetFileSetting(fsTemplate, set);
        loaded = LoadTemplate(document, messages);
        return loaded.has_value();
    }

    std::vector<int> LevelNumbers() const
    {
        std::vector<int> numbers;
        for (const TLevelItem& item : loaded->Levels)
            numbers.push_back(item.Level);
        return numbers;
    }

    TemporaryDirectory root;
    TemplatesOverride templates{Templates()};
    RecordedMessages messages;
    TqzHTML document;
    std::optional<TemplateSet> loaded;
};

struct MaxLevelCase {
    std::string written;
    int expected;
};

class MaxLevelTest : public TemplateSetTest, public ::testing::WithParamInterface<MaxLevelCase> {};

TEST_P(MaxLevelTest, IsReadAsAbsoluteValueCappedAt255AndLimitsTheLevelKeys)
{
    std::string ini = "[Main]\r\nMaxLevel=" + GetParam().written + "\r\n[Level]\r\n";
    for (int n = 0; n <= 300; n += 2)
        ini += "Level" + std::to_string(n) + "=l" + std::to_string(n) + "\r\n";
    WriteSettings("Set", ini);

    ASSERT_TRUE(Load("Set"));
    EXPECT_EQ(loaded->MaxLevel, GetParam().expected);
    const std::vector<int> numbers = LevelNumbers();
    EXPECT_EQ(numbers.front(), 0);
    EXPECT_LE(numbers.back(), GetParam().expected);
    EXPECT_GT(numbers.back() + 2, GetParam().expected);
    EXPECT_TRUE(messages.texts.empty());
}

INSTANTIATE_TEST_SUITE_P(Values, MaxLevelTest,
                         ::testing::Values(MaxLevelCase{"-3", 3}, MaxLevelCase{"300", 255}, MaxLevelCase{"0", 0},
                                           MaxLevelCase{"", 255}, MaxLevelCase{"-2147483648", 255}));

TEST_F(TemplateSetTest, LevelKeysAboveMaxLevelAreNotRead)
{
    WriteSettings("Set", "[Main]\nMaxLevel=2\n[Level]\nLevel0=top\nLevel3=deep\n");
    ASSERT_TRUE(Load("Set"));
    EXPECT_EQ(LevelNumbers(), std::vector<int>{0});
}

TEST_F(TemplateSetTest, LevelNamesAreTrimmedAndEmptyValuesDefineNoEntry)
{
    WriteSettings("Set", "[level]\nLEVEL0=   \nlevel1=  side  \nLevel2=\n");
    ASSERT_TRUE(Load("Set"));
    ASSERT_EQ(loaded->Levels.size(), 1u);
    EXPECT_EQ(loaded->Levels[0].Level, 1);
    EXPECT_EQ(loaded->Levels[0].Name, "side");
}

struct DefaultLevelCase {
    std::string written; // the DefaultLevel line, empty for none
    std::string depth1;  // the entry serving depth 1
};

class DefaultLevelTest : public TemplateSetTest, public ::testing::WithParamInterface<DefaultLevelCase> {};

TEST_P(DefaultLevelTest, ChoosesTheEntryForDepthsWithoutOneOfTheirOwn)
{
    WriteSettings("Set", "[Main]\n" + GetParam().written + "\n[Level]\nLevel0=top\nLevel2=deep\n");
    ASSERT_TRUE(Load("Set"));
    const TemplateSet& state = *loaded;
    EXPECT_EQ(LevelFor(state, 0).Name, "top");
    EXPECT_EQ(LevelFor(state, 1).Name, GetParam().depth1);
    EXPECT_EQ(LevelFor(state, 2).Name, "deep");
    EXPECT_EQ(LevelFor(state, 9).Name, GetParam().depth1);
}

INSTANTIATE_TEST_SUITE_P(Values, DefaultLevelTest,
                         ::testing::Values(DefaultLevelCase{"", "deep"}, DefaultLevelCase{"DefaultLevel=-1", "deep"},
                                           DefaultLevelCase{"DefaultLevel=1", "deep"},
                                           DefaultLevelCase{"DefaultLevel=0", "top"},
                                           DefaultLevelCase{"DefaultLevel=5", "deep"},
                                           DefaultLevelCase{"DefaultLevel=-5", "top"}));

TEST_F(TemplateSetTest, AllInOneIsAnyNonZeroInteger)
{
    const std::vector<std::pair<std::string, bool>> cases{
        {"", false}, {"all_in_one=0", false}, {"ALL_IN_ONE=-7", true}, {"all_in_one=ja", false}};
    for (const auto& [line, expected] : cases) {
        WriteSettings("Set", "[Main]\n" + line + "\n[Level]\nLevel0=top\n");
        ASSERT_TRUE(Load("Set"));
        EXPECT_EQ(loaded->AllInOne, expected) << line;
    }
}

TEST_F(TemplateSetTest, ReportsWhyASetCannotBeUsed)
{
    EXPECT_FALSE(Load(""));
    std::filesystem::create_directories(Templates() / "Leer");
    EXPECT_FALSE(Load("Fehlt"));
    EXPECT_FALSE(Load("Leer"));
    WriteSettings("OhneEbenen", "[Main]\nMaxLevel=3\n[Level]\nLevel4=zu tief\n");
    EXPECT_FALSE(Load("OhneEbenen"));
    // A directory in place of the settings file reads like a missing file.
    std::filesystem::create_directories(Templates() / "Verzeichnis" / "template.ini");
    EXPECT_FALSE(Load("Verzeichnis"));
    EXPECT_EQ(messages.texts,
              (std::vector<std::string>{NoTemplateChosen, TemplateMissing, NoLevels, NoLevels, NoLevels}));
}

TEST_F(TemplateSetTest, NameInOtherLetterCaseFindsTheSet)
{
    WriteSettings("Blau", "[Level]\nLevel0=top\n");
    EXPECT_TRUE(Load("blau"));
    EXPECT_EQ(std::filesystem::path(loaded->TemplateDir).parent_path().filename(), "Blau");
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(TemplateSetTest, NamesLeadingOutsideTheTemplateDirectoryAreRefused)
{
    // Each of these names leads to a usable set when taken as a path.
    WriteSettings("Gut", "[Level]\nLevel0=gut\n");
    WriteSettings("Gut/Innen", "[Level]\nLevel0=innen\n");
    WriteBytes(root.Path() / "Aussen" / "template.ini", "[Level]\nLevel0=aussen\n");
    WriteBytes(Templates() / "template.ini", "[Level]\nLevel0=wurzel\n");
    ASSERT_TRUE(Load("Gut"));

    const std::vector<std::string> names{"../Aussen", "..\\Aussen", "Gut/Innen", "Gut\\Innen", "Gut/../Gut",
                                         "..",        ".",          "Gut/",      "C:Gut"};
    for (const std::string& name : names) {
        messages.texts.clear();
        EXPECT_FALSE(Load(name)) << name;
        EXPECT_EQ(messages.texts, std::vector<std::string>{TemplateMissing}) << name;
    }
}

TEST_F(TemplateSetTest, VarListMarksTheTemplatesVariables)
{
    document.Variables().AddVariable("Fuss", "alt", false);
    document.Variables().AddVariable("Eigene", "bleibt", true);
    WriteSettings("MitListe", "[Main]\nVarList= $Kopf$ , ,Fuss\n[Level]\nLevel0=top\n");
    WriteSettings("OhneListe", "[Level]\nLevel0=top\n");
    WriteBytes(root.Path() / "Aussen" / "template.ini", "[Main]\nVarList=Fremd\n");

    LoadTemplateVarList(document, "MitListe");
    const TParseList& variables = document.Variables();
    ASSERT_EQ(variables.Count(), 3u);
    EXPECT_EQ(variables.Caption(2), "Kopf");
    EXPECT_TRUE(variables.Data(0).FromTemplate);
    EXPECT_FALSE(variables.Data(1).FromTemplate);
    EXPECT_TRUE(variables.Data(2).FromTemplate);

    for (const std::string name : {"OhneListe", "Fehlt", "", "../Aussen"}) {
        LoadTemplateVarList(document, "MitListe");
        LoadTemplateVarList(document, name);
        ASSERT_EQ(variables.Count(), 3u) << name;
        for (std::size_t row = 0; row < variables.Count(); ++row)
            EXPECT_FALSE(variables.Data(row).FromTemplate) << name << " row " << row;
    }
    EXPECT_EQ(variables.Data(0).Value, "alt");
    EXPECT_TRUE(messages.texts.empty());
}

TEST(TemplatesDirectoryTest, IsFoundBesideTheProgramOrInItsInstalledShareDirectory)
{
    TemporaryDirectory root;
    const std::filesystem::path program = root.Path() / "prefix" / "bin";
    std::filesystem::create_directories(program);
    EXPECT_EQ(ResolveTemplatesDirectory(program), program / "Templates") << "named even when missing";

    const std::filesystem::path share = root.Path() / "prefix" / "share" / "treeweaver" / "Templates";
    std::filesystem::create_directories(share);
    EXPECT_EQ(ResolveTemplatesDirectory(program), share);

    std::filesystem::create_directories(program / "templates");
    EXPECT_EQ(ResolveTemplatesDirectory(program), program / "templates");

    std::filesystem::create_directories(program / "Templates");
    EXPECT_EQ(ResolveTemplatesDirectory(program), program / "Templates");

    const std::filesystem::path notInstalled = root.Path() / "prefix" / "tools";
    std::filesystem::create_directories(notInstalled);
    EXPECT_EQ(ResolveTemplatesDirectory(notInstalled), notInstalled / "Templates");
}

TEST(TemplatesDirectoryTest, DefaultsToTheShippedSetsBesideTheProgramAndCanBeReplaced)
{
    const std::string shipped = TemplatesDirectory();
    EXPECT_EQ(ToFsPath(shipped), ProgramDirectory() / "Templates" / "");
    EXPECT_TRUE(DirectoryExists(shipped));

    SetTemplatesDirectory("/srv/vorlagen");
    EXPECT_EQ(TemplatesDirectory(), "/srv/vorlagen/");
    SetTemplatesDirectory("C:\\Vorlagen\\");
    EXPECT_EQ(TemplatesDirectory(), "C:\\Vorlagen\\");
    SetTemplatesDirectory("");
    EXPECT_EQ(TemplatesDirectory(), shipped);
}

// Points the user's and the system's data folders at scratch folders.
class DataFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_DATA_HOME", (root_.Path() / "home").c_str(), 1);
        setenv("XDG_DATA_DIRS", ("relative:" + (root_.Path() / "system").string()).c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_DATA_DIRS");
    }
    std::filesystem::path MakeSet(const std::string& folder, const std::string& name) const
    {
        const auto set = root_.Path() / folder / "treeweaver" / "Templates" / name;
        std::filesystem::create_directories(set);
        return set;
    }
    TemporaryDirectory root_;
};

TEST_F(DataFoldersTest, UsersOwnSetsComeFirstAndWinOverSetsOfTheSameName)
{
    const auto own = MakeSet("home", "Aufklappend");
    MakeSet("system", "Aufklappend");
    const auto systemOnly = MakeSet("system", "Firma");

    const std::vector<std::string> expected{FromFsPath(root_.Path() / "home" / "treeweaver" / "Templates" / ""),
                                            TemplatesDirectory(),
                                            FromFsPath(root_.Path() / "system" / "treeweaver" / "Templates" / "")};
    EXPECT_EQ(TemplateSearchPath(), expected) << "the relative entry of XDG_DATA_DIRS is skipped";
    EXPECT_EQ(ToFsPath(TemplateSetDirectory("Aufklappend")), own / "");
    EXPECT_EQ(ToFsPath(TemplateSetDirectory("firma")), systemOnly / "") << "letter case as beside the program";
    EXPECT_EQ(TemplateSetDirectory("Fehlt"), TemplatesDirectory() + "Fehlt/");

    SetTemplatesDirectory(FromFsPath(root_.Path()));
    EXPECT_EQ(TemplateSearchPath(), std::vector<std::string>{FromFsPath(root_.Path() / "")});
    SetTemplatesDirectory("");
}

} // namespace
} // namespace tw::test
