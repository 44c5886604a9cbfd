#include "generator/generateprogress.h"
#include "generator/generator.h"
#include "generator/menuwriter.h"
#include "generator_test_support.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

namespace tw::test {
namespace {

using Lines = std::vector<std::string>;

// A template set whose snippets name themselves and show the item values.
void WriteTracingSet(const std::filesystem::path& dir, const std::string& main)
{
    WriteBytes(dir / "template.ini", "[Main]\r\n" + main + "\r\n[Level]\r\nLevel0=top\r\nLevel1=sub\r\n");
    WriteBytes(dir / "Header.txt", "Header $CurrentFilename$\r\n");
    // A NUL byte ends a snippet's text.
    WriteBytes(dir / "Footer.txt", std::string("Footer $FileName$\0Rest\r\n", 24));
    for (const std::string prefix : {"top", "sub"}) {
        for (const std::string kind : {"MenuPoint", "MPOpen", "MPParent"})
            WriteBytes(dir / (prefix + "_" + kind + ".txt"),
                       prefix + "_" + kind + " $Linkname$ $Link$ $LinkTarget$ $LinkID$\n");
        WriteBytes(dir / (prefix + "_Separator.txt"), prefix + "_Separator\r");
        WriteBytes(dir / (prefix + "_SubMenuEnd.txt"), prefix + "_SubMenuEnd\r\n");
    }
}

class GeneratorTest : public ::testing::Test {
protected:
    GeneratorTest()
    {
        // A (A1 (A1a), A2), B
        MenuNode& root = document.Tree().Root();
        MenuNode& a = AddItem(document, root, "A", "a.html", "inhalt");
        a1 = &AddItem(document, a, "A1", "a1.html");
        AddItem(document, *a1, "A1a", "a1a.html", "neu");
        AddItem(document, a, "A2", "a2.html");
        AddItem(document, root, "B", "b.html", "inhalt");
        document.SetFileSetting(fsTemplate, "Spur");
        document.SetFileSetting(fsFilename, out / "menu.html");
        document.SetFileSetting(fsFileExt, "html");
    }

    void UseSet(const std::string& main = {}) { WriteTracingSet(templates.Path() / "Spur", main); }
    std::string Output(const std::string& name) const { return ReadBytes(out.Path() / name); }

    TemporaryDirectory templates;
    TemporaryDirectory out;
    TemplatesOverride templatesOverride{templates.Path()};
    RecordedMessages messages;
    TqzHTML document;
    MenuNode* a1 = nullptr;
};

TEST_F(GeneratorTest, WritesTheMainFileAndOneFilePerSubmenuWithThePathOpen)
{
    UseSet();
    Generate(document, messages);

    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(FileNames(out.Path()), (Lines{"Child1,1.html", "Child1.html", "menu.html"}));
    EXPECT_EQ(Output("menu.html"),
              CrLfLines({"Header menu.html", "top_MPParent A Child1.html _self Child1", "top_Separator",
                         "top_MenuPoint B b.html inhalt Child2", "Footer menu.html"}));
    EXPECT_EQ(Output("Child1.html"), CrLfLines({"Header Child1.html", "top_MPOpen A menu.html _self Child1",
                                                "sub_MPParent A1 Child1,1.html _self Child1,1", "sub_Separator",
                                                "sub_MenuPoint A2 a2.html  Child1,2", "top_SubMenuEnd", "top_Separator",
                                                "top_MenuPoint B b.html inhalt Child2", "Footer menu.html"}));
    EXPECT_EQ(Output("Child1,1.html"),
              CrLfLines({"Header Child1,1.html", "top_MPOpen A menu.html _self Child1",
                         "sub_MPOpen A1 menu.html _self Child1,1", "sub_MenuPoint A1a a1a.html neu Child1,1,1",
                         "sub_SubMenuEnd", "sub_Separator", "sub_MenuPoint A2 a2.html  Child1,2", "top_SubMenuEnd",
                         "top_Separator", "top_MenuPoint B b.html inhalt Child2", "Footer menu.html"}));
}

TEST_F(GeneratorTest, ProgressFollowsTheTreeToItsEndInBothShapes)
{
    using Steps = std::vector<std::pair<std::size_t, std::size_t>>;
    Steps steps;
    const GenerationProgress record = [&steps](std::size_t done, std::size_t total) {
        steps.emplace_back(done, total);
    };
    for (const auto& [main, expected] : {std::pair{std::string(), Steps{{0, 6}, {1, 6}, {2, 6}, {6, 6}}},
                                         std::pair{std::string("all_in_one=1"), Steps{{0, 6}, {6, 6}}}}) {
        UseSet(main);
        steps.clear();
        Generate(document, document.GetFileSetting(fsFilename), messages, record);
        EXPECT_EQ(steps, expected) << main;
    }
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(GeneratorTest, EachFileKnowsTheLinkIDOfItsItem)
{
    UseSet();
    WriteBytes(templates.Path() / "Spur" / "Header.txt", "[$CurrentLinkID$] $CurrentFilenameURL$\r\n");
    Generate(document, messages);
    EXPECT_TRUE(Output("menu.html").starts_with("[] menu.html\r\n"));
    EXPECT_TRUE(Output("Child1,1.html").starts_with("[Child1,1] Child1,1.html\r\n"));
}

TEST_F(GeneratorTest, OpenEntriesBelowTheSecondLevelLinkToTheirParentsSubmenuFile)
{
    MenuNode& a1a = *a1->Child(0);
    AddItem(document, a1a, "X", "x.html");
    UseSet();
    Generate(document, messages);

    EXPECT_EQ(FileNames(out.Path()), (Lines{"Child1,1,1.html", "Child1,1.html", "Child1.html", "menu.html"}));
    const std::string deepest = Output("Child1,1,1.html");
    EXPECT_NE(deepest.find("sub_MPOpen A1 menu.html _self Child1,1\r\n"
                           "sub_MPOpen A1a Child1,1.html _self Child1,1,1\r\n"
                           "sub_MenuPoint X x.html  Child1,1,1,1\r\n"
                           "sub_SubMenuEnd\r\n"
                           "sub_SubMenuEnd\r\n"),
              std::string::npos)
        << deepest;
}

TEST_F(GeneratorTest, MaxLevelOneStopsOpeningBelowTheTopLevel)
{
    UseSet("MaxLevel=1");
    Generate(document, messages);

    EXPECT_EQ(FileNames(out.Path()), (Lines{"Child1.html", "menu.html"}));
    const std::string child1 = Output("Child1.html");
    EXPECT_NE(child1.find("sub_MenuPoint A1 a1.html  Child1,1\r\nsub_Separator\r\n"), std::string::npos) << child1;
    EXPECT_EQ(child1.find("A1a"), std::string::npos);
}

TEST_F(GeneratorTest, MaxLevelZeroWritesOnlyTheMainFileWithoutSubmenus)
{
    UseSet("MaxLevel=0");
    Generate(document, messages);

    EXPECT_EQ(FileNames(out.Path()), Lines{"menu.html"});
    EXPECT_EQ(Output("menu.html"),
              CrLfLines({"Header menu.html", "top_MenuPoint A a.html inhalt Child1", "top_Separator",
                         "top_MenuPoint B b.html inhalt Child2", "Footer menu.html"}));
}

TEST_F(GeneratorTest, AllInOneOpensEverySubmenuWithTheItemsOwnLinks)
{
    UseSet("all_in_one=1");
    Generate(document, messages);

    EXPECT_EQ(FileNames(out.Path()), Lines{"menu.html"});
    EXPECT_EQ(Output("menu.html"),
              CrLfLines({"Header menu.html", "top_MPOpen A a.html inhalt Child1", "sub_MPOpen A1 a1.html  Child1,1",
                         "sub_MenuPoint A1a a1a.html neu Child1,1,1", "sub_SubMenuEnd", "sub_Separator",
                         "sub_MenuPoint A2 a2.html  Child1,2", "top_SubMenuEnd", "top_Separator",
                         "top_MenuPoint B b.html inhalt Child2", "Footer menu.html"}));
}

TEST_F(GeneratorTest, SubmenuExtensionComesFromFileextOrTheMainFile)
{
    UseSet("MaxLevel=1");
    const std::vector<std::tuple<std::string, std::string, Lines>> cases{
        {"", "menu.htm", {"Child1.htm", "menu.htm"}},
        {"html", "menu.htm", {"Child1.html", "menu.htm"}},
        {".shtml", "menu.htm", {"Child1.shtml", "menu.htm"}},
        {"", "menu", {"Child1", "menu"}},
    };
    for (const auto& [fileExt, mainFile, expected] : cases) {
        TemporaryDirectory dir;
        document.SetFileSetting(fsFileExt, fileExt);
        document.SetFileSetting(fsFilename, dir / mainFile);
        Generate(document, messages);
        EXPECT_EQ(FileNames(dir.Path()), expected) << "fileext '" << fileExt << "', " << mainFile;
        EXPECT_NE(ReadBytes(dir.Path() / mainFile).find(" " + expected.front() + " _self"), std::string::npos);
    }
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(GeneratorTest, EmptyAndOneLetterCaptionsAndSingleEntryLists)
{
    WriteBytes(templates.Path() / "Kurz" / "template.ini", "[Level]\nLevel0=p\n");
    WriteBytes(templates.Path() / "Kurz" / "p_MenuPoint.txt", "[$Linkname$|$FirstLetter$|$RestLetter$]");
    WriteBytes(templates.Path() / "Kurz" / "p_Separator.txt", "-");
    document.Tree().DeleteChildren(document.Tree().Root());
    AddItem(document, document.Tree().Root(), "");
    document.SetFileSetting(fsTemplate, "Kurz");
    Generate(document, messages);
    EXPECT_EQ(Output("menu.html"), CrLfLines({"[||]"}));

    AddItem(document, document.Tree().Root(), "X");
    AddItem(document, document.Tree().Root(), "\xC4pfel");
    Generate(document, messages);
    EXPECT_EQ(Output("menu.html"), CrLfLines({"[||]", "-", "[X|X|]", "-", "[\xC4pfel|\xC4|pfel]"}));
}

TEST_F(GeneratorTest, CharacterReferencesWriteEveryCharacterOutsideAsciiAsAReference)
{
    WriteBytes(templates.Path() / "Ref" / "template.ini", "[Main]\nCharacterReferences=1\n[Level]\nLevel0=p\n");
    WriteBytes(templates.Path() / "Ref" / "p_MenuPoint.txt", "\x84$Linkname$\x93 $Title$");
    document.Tree().DeleteChildren(document.Tree().Root());
    AddItem(document, document.Tree().Root(),
            "\xDC"
            "ber \x80");
    document.SetString(siTitle, "Gr\xFC\xDF"
                                "e");
    document.SetFileSetting(fsTemplate, "Ref");
    Generate(document, messages);
    EXPECT_EQ(Output("menu.html"), CrLfLines({"&#8222;&#220;ber &#8364;&#8220; Gr&#252;&#223;e"}));
}

TEST_F(GeneratorTest, ItemValuesMeetTheDocumentPlaceholdersButSettingsDoNotMeetItemPlaceholders)
{
    WriteBytes(templates.Path() / "Werte" / "template.ini", "[Level]\nLevel0=p\n");
    WriteBytes(templates.Path() / "Werte" / "p_MenuPoint.txt", "$Linkname$ / $Title$ / $LINK$");
    WriteBytes(templates.Path() / "Werte" / "p_MPParent.txt", "$Linkname$ / $Title$ / $LINK$");
    document.SetFileSetting(fsTemplate, "Werte");
    document.SetString(siTitle, "$Link$");
    document.Tree().SetCaption(*document.Tree().Root().Child(1), "B $Font$");
    document.SetString(siFont, "Arial");
    Generate(document, messages);
    EXPECT_EQ(Output("menu.html"), CrLfLines({"A / $Link$ / Child1.html", "B Arial / $Link$ / b.html"}));
}

// The item's own link and target reach every entry kind, next to the
// classic values that an open or parent entry replaces by its file link.
TEST_F(GeneratorTest, OwnLinkAndTargetInEveryEntryKind)
{
    WriteBytes(templates.Path() / "Eigen" / "template.ini", "[Level]\nLevel0=p\n");
    for (const std::string kind : {"MenuPoint", "MPOpen", "MPParent"})
        WriteBytes(templates.Path() / "Eigen" / ("p_" + kind + ".txt"),
                   kind + " $Link$|$LinkTarget$|$ItemLink$|$itemtarget$|$ItemTargetOrSelf$\n");
    document.SetFileSetting(fsTemplate, "Eigen");
    document.Tree().Root().Child(0)->Item()->Target.clear();
    Generate(document, messages);
    EXPECT_EQ(Output("menu.html"),
              CrLfLines({"MPParent Child1.html|_self|a.html||_self", "MenuPoint b.html|inhalt|b.html|inhalt|inhalt"}));
    EXPECT_EQ(Output("Child1,1.html"),
              CrLfLines({"MPOpen menu.html|_self|a.html||_self", "MPOpen menu.html|_self|a1.html||_self",
                         "MenuPoint a1a.html|neu|a1a.html|neu|neu", "MenuPoint a2.html||a2.html||_self",
                         "MenuPoint b.html|inhalt|b.html|inhalt|inhalt"}));

    WriteBytes(templates.Path() / "Eigen" / "template.ini", "[Main]\nall_in_one=1\n[Level]\nLevel0=p\n");
    Generate(document, messages);
    EXPECT_EQ(Output("menu.html"),
              CrLfLines({"MPOpen a.html||a.html||_self", "MPOpen a1.html||a1.html||_self",
                         "MenuPoint a1a.html|neu|a1a.html|neu|neu", "MenuPoint a2.html||a2.html||_self",
                         "MenuPoint b.html|inhalt|b.html|inhalt|inhalt"}));
}

// A set that leaves out our placeholders gets the classic bytes, also where
// an item's values spell one of them.
TEST_F(GeneratorTest, OwnPlaceholdersInItemValuesStayLiteralInClassicSets)
{
    UseSet();
    TMTItem& b = *document.Tree().Root().Child(1)->Item();
    b.Link = "$ItemTarget$.html";
    b.Target = "$ItemLink$";
    Generate(document, messages);
    EXPECT_NE(Output("menu.html").find("top_MenuPoint B $ItemTarget$.html $ItemLink$ Child2\r\n"), std::string::npos);
}

TEST_F(GeneratorTest, TwoGenerationsWriteIdenticalBytes)
{
    UseSet();
    Generate(document, messages);
    const Lines names = FileNames(out.Path());
    std::vector<std::string> first;
    for (const std::string& name : names)
        first.push_back(Output(name));
    Generate(document, messages);
    ASSERT_EQ(FileNames(out.Path()), names);
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(Output(names[i]), first[i]) << names[i];
}

TEST_F(GeneratorTest, LinkIDsFollowTheCurrentOrderOfTheTree)
{
    UseSet("MaxLevel=0");
    document.SetModified(false);
    MenuNode& c = AddItem(document, document.Tree().Root(), "C");
    MenuNode& bare = document.Tree().AddChild(c, "ohne Datensatz");
    document.Tree().Move(c, document.Tree().Root(), 0);
    Generate(document, messages);

    const MenuNode& root = document.Tree().Root();
    EXPECT_EQ(root.Child(0)->Item()->LinkID, "Child1");
    EXPECT_EQ(root.Child(1)->Child(0)->Child(0)->Item()->LinkID, "Child2,1,1");
    EXPECT_EQ(root.Child(2)->Item()->LinkID, "Child3");
    ASSERT_NE(bare.Item(), nullptr);
    EXPECT_EQ(bare.Item()->LinkID, "Child1,1");
    EXPECT_FALSE(document.Modified());
}

TEST_F(GeneratorTest, WithoutAFileNameNothingHappens)
{
    UseSet();
    document.SetFileSetting(fsFilename, "");
    Generate(document, messages);
    EXPECT_EQ(messages.texts, Lines{"Kein Dateiname zum Speichern angegeben"});
    EXPECT_TRUE(FileNames(out.Path()).empty());
    EXPECT_TRUE(document.Tree().Root().Child(0)->Item()->LinkID.empty());
}

TEST_F(GeneratorTest, TemplateFailuresStopBeforeAnyFileIsWritten)
{
    document.SetFileSetting(fsTemplate, "Fehlt");
    UseSet();
    Generate(document, messages);
    EXPECT_EQ(messages.texts, Lines{"Die Men\xFC"
                                    "vorlage ist nicht vorhanden."});
    EXPECT_TRUE(FileNames(out.Path()).empty());
}

TEST_F(GeneratorTest, AFileThatCannotBeWrittenEndsTheGenerationWithoutPartialFiles)
{
    UseSet();
    std::filesystem::create_directory(out.Path() / "Child1.html");
    Generate(document, messages);

    EXPECT_EQ(messages.texts, Lines{"Fehler beim Erstellen der Datei " + (out / "Child1.html") +
                                    ": Der Pfad bezeichnet einen Ordner."});
    // The main file was written before; the file after the failing one is not.
    // Nor is a temporary file left behind.
    EXPECT_EQ(FileNames(out.Path()), (Lines{"Child1.html", "menu.html"}));
    EXPECT_TRUE(std::filesystem::is_directory(out.Path() / "Child1.html"));

    messages.texts.clear();
    document.SetFileSetting(fsFilename, out / "fehlt/menu.html");
    Generate(document, messages);
    EXPECT_EQ(messages.texts, Lines{"Fehler beim Erstellen der Datei " + (out / "fehlt/menu.html") +
                                    ": Der Ordner oder die Datei ist nicht vorhanden."});
}

// A generation reports as stale exactly the files of the main file's folder
// named like its submenu files that it did not write; every look-alike stays
// out, and nothing is deleted by generating.
TEST_F(GeneratorTest, ReportsExactlyTheSubmenuFilesItDidNotWrite)
{
    UseSet();
    Generate(document, messages); // Child1.html and Child1,1.html stay unchanged below
    const Lines stale{"Child1,2.html", "Child2.html", "Child2,9.html", "Child2,10.html", "Child10,3.html"};
    const Lines alike{"child2.html",  "Child2.html.bak", "Child.html",   "Child1,,2.html", "Child01.html",
                      "Child0.html",  "Child2,.html",    "Child,2.html", "Child2.htm",     "Child2.HTML",
                      "Child2 .html", "XChild2.html",    "Child-2.html"};
    for (const auto& names : {stale, alike}) {
        for (const std::string& name : names)
            out.Write(name, "alt");
    }
    out.Write("unten/Child3.html", "alt");
    std::filesystem::create_directory(out.Path() / "Child4.html");
    std::filesystem::create_symlink(out.Path() / "Child2.html", out.Path() / "Child5.html");

    const GenerationCounts counts = Generate(document, messages);

    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(counts.unchanged, 3u);
    Lines expected;
    for (const std::string& name : stale)
        expected.push_back(out / name);
    EXPECT_EQ(counts.staleFiles, expected);
    for (const auto& names : {stale, alike}) {
        for (const std::string& name : names)
            EXPECT_EQ(Output(name), "alt") << name;
    }
}

TEST_F(GeneratorTest, StaleFilesFollowTheSubmenuExtensionAlsoWithAllInOne)
{
    UseSet("all_in_one=1");
    for (const char* name : {"Child1.html", "Child1.htm", "Child1"})
        out.Write(name, "alt");
    EXPECT_EQ(Generate(document, messages).staleFiles, Lines{out / "Child1.html"});

    // Without fileext and without an extension of the main file, submenu
    // files have no extension.
    document.SetFileSetting(fsFileExt, "");
    document.SetFileSetting(fsFilename, out / "menu");
    EXPECT_EQ(Generate(document, messages).staleFiles, Lines{out / "Child1"});
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(GeneratorTest, AFailedGenerationReportsNoStaleFiles)
{
    UseSet();
    out.Write("Child9.html", "alt");
    std::filesystem::create_directory(out.Path() / "Child1,1.html");
    const GenerationCounts counts = Generate(document, messages);
    EXPECT_FALSE(counts.complete);
    EXPECT_TRUE(counts.staleFiles.empty());
    EXPECT_EQ(messages.texts.size(), 1u);
}

} // namespace
} // namespace tw::test

namespace tw {
namespace {

TEST(SnippetLinesTest, AByteOrderMarkAtTheStartIsDropped)
{
    EXPECT_EQ(SnippetLines("\xEF\xBB\xBFHeader\r\n\xEF\xBB\xBFzwei"), (LineList{"Header", "\xEF\xBB\xBFzwei"}));
    EXPECT_EQ(SnippetLines("\xEF\xBB\xBF"), LineList{});
    EXPECT_EQ(SnippetLines(std::string("\xEF\xBB\xBF"
                                       "a\0b",
                                       6)),
              LineList{"a"});
}

TEST(FirstLetter, AReferenceAtTheStartIsOneLetter)
{
    using Split = std::pair<std::string, std::string>;
    EXPECT_EQ(SplitFirstLetter("&#128512; Start"), (Split{"&#128512;", " Start"}));
    EXPECT_EQ(SplitFirstLetter("Start"), (Split{"S", "tart"}));
    EXPECT_EQ(SplitFirstLetter("&#x; Start"), (Split{"&", "#x; Start"})) << "not a numeric reference";
    EXPECT_EQ(SplitFirstLetter("&#12"), (Split{"&", "#12"})) << "unterminated";
    EXPECT_EQ(SplitFirstLetter("&lt;img&gt;"), (Split{"&lt;", "img&gt;"})) << "named reference of imported text";
    EXPECT_EQ(SplitFirstLetter("& Co;"), (Split{"&", " Co;"}));
}

} // namespace
} // namespace tw
