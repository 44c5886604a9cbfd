#include "generator/entrysnippet.h"
#include "generator/substitution.h"
#include "generator_test_support.h"

#include <gtest/gtest.h>

namespace tw::test {
namespace {

class DocumentPlaceholdersTest : public ::testing::Test {
protected:
    std::string Filled(const std::string& line, const std::string& currentFile = "menu.html",
                       const std::string& currentLinkID = {})
    {
        DocumentPlaceholders placeholders(document);
        Fragment fragment;
        EXPECT_TRUE(placeholders.Prepare({line}, fragment));
        placeholders.SetCurrentFile(currentFile, currentLinkID);
        std::string file;
        std::size_t textSize = 0;
        EXPECT_TRUE(placeholders.AppendTo(file, textSize, fragment));
        EXPECT_EQ(textSize + 2, file.size());
        return file.substr(0, file.size() - 2);
    }

    TqzHTML document;
};

TEST_F(DocumentPlaceholdersTest, FillsSettingsAndFileNames)
{
    document.SetColor(ciText, 0x0000FF);
    document.SetColor(ciHover, 0x80102030); // a system colour: only the low three bytes count
    document.SetString(siFont, "Verdana");
    document.SetString(siSubmenuFontSize, "10pt");
    document.SetFileSetting(fsFilename, "C:\\web\\start.htm");

    EXPECT_EQ(Filled("$TextColor$|$HoverColor$|$LinkColor$|$Font$|$SubMenuFontSize$|$hr$"),
              "#FF0000|#302010||Verdana|10pt|<hr>");
    EXPECT_EQ(Filled("$FileName$ $CurrentFilename$", "Child2.htm"), "start.htm Child2.htm");
    EXPECT_EQ(Filled("$Font$ $currentfilename$ $Font$", "Child2.htm"), "Verdana Child2.htm Verdana");
    EXPECT_EQ(Filled("ohne Platzhalter, mit $ und $unbekannt$"), "ohne Platzhalter, mit $ und $unbekannt$");
}

TEST_F(DocumentPlaceholdersTest, FileNamesAsAddressesAreEscaped)
{
    document.SetFileSetting(fsFilename, "/web/men\xFC#1?a=50%.htm");
    EXPECT_EQ(Filled("<a href=\"$FileNameURL$\">$FileName$</a>"),
              "<a href=\"men\xFC%231%3Fa=50%25.htm\">men\xFC#1?a=50%.htm</a>");
    // The per-file form, also on a line that names no other placeholder.
    EXPECT_EQ(Filled("$CurrentFilenameURL$", "a\"b.htm"), "a%22b.htm");
    EXPECT_EQ(Filled("$currentfilename$ $CurrentFilenameURL$", "Child1#.htm"), "Child1#.htm Child1%23.htm");
    EXPECT_EQ(Filled("[id=\"$CurrentLinkID$\"]", "Child2,1.htm", "Child2,1"), "[id=\"Child2,1\"]");
}

TEST_F(DocumentPlaceholdersTest, MatchesLettersWithoutRegardToCaseButOtherBytesExactly)
{
    document.SetString(siTitle, "Titel");
    document.Variables().AddVariable("Men\xFC", "Speisekarte", false);
    EXPECT_EQ(Filled("$title$ $TITLE$ $TiTlE$"), "Titel Titel Titel");
    EXPECT_EQ(Filled("$Men\xFC$ $MEN\xFC$ $MEN\xDC$"), "Speisekarte Speisekarte $MEN\xDC$");
}

TEST_F(DocumentPlaceholdersTest, SettingsAreFilledBeforeVariablesAndVariablesInListOrder)
{
    document.SetString(siTitle, "Hallo $Name$");
    document.Variables().AddVariable("Title", "nie", false);
    document.Variables().AddVariable("Erst", "[$Name$ $Zuerst$ $Font$]", false);
    document.Variables().AddVariable("Name", "Welt", false);
    document.Variables().AddVariable("Zuerst", "x", false);
    // A variable inserted earlier may hold a later one; setting placeholders in
    // a value stay as they are.
    EXPECT_EQ(Filled("$Title$ $Erst$"), "Hallo Welt [Welt x $Font$]");
    document.Variables().AddVariable("Spaet", "$Erst$", false);
    EXPECT_EQ(Filled("$Spaet$"), "$Erst$");
}

TEST_F(DocumentPlaceholdersTest, EmptyLinesFromSettingsCollapseButThoseFromVariablesSurvive)
{
    document.SetString(siTitle, "a\r\n\r\n\r\nb");
    document.Variables().AddVariable("Absatz", "c\r\n\r\nd", false);
    EXPECT_EQ(Filled("$Title$|$Absatz$"), "a\r\nb|c\r\n\r\nd");
}

TEST_F(DocumentPlaceholdersTest, AValueHoldingItsOwnPlaceholderEnds)
{
    document.SetString(siTitle, "[$TITLE$]");
    document.Variables().AddVariable("V", "x$v$x", false);
    EXPECT_EQ(Filled("$Title$ $V$"), "[$TITLE$] x$v$x");
}

TEST(ReplacementsTest, RunInOrderOverEveryLine)
{
    LineList lines{"$a$ $b$", "", "kein", "$B$$A$"};
    EXPECT_TRUE(ApplyReplacementsWithin(lines, {{"$a$", "$b$", false}, {"$b$", "2", false}, {"$c$", "3", false}},
                                        MaxGeneratedFileSize));
    EXPECT_EQ(lines, (LineList{"2 2", "", "kein", "22"}));
}

// An entry put together from its places must be what the replacements in
// order make of it, or be left to them where a value could join a match.
TEST(EntrySnippetTest, FillsAsTheReplacementsInOrderOrDeclines)
{
    struct Case {
        LineList lines;
        std::vector<std::string> values;
        bool placed;
    };
    const std::vector<Case> cases{
        {{"<a href=\"$LINK$\">$a$ $b$</a>", "", "x$A$y$"}, {"1", "Zwei", ""}, true},
        {{"$Link$a$"}, {"1", "2", "3"}, true},      // "$a$" is found first; "$Link" is left
        {{"$Li$a$k$"}, {"n", "2", "3"}, false},     // the value would complete "$Link$"
        {{"$a$ $b$"}, {"$b$", "2", "3"}, false},    // a value holding "$"
        {{"$a$ $Li$b$nk$"}, {"1", "x", "3"}, true}, // "$Link$" was looked for before "$b$"
    };
    ReplacementList placeholders{{"$a$", "", false}, {"$link$", "", false}, {"$b$", "", false}};
    for (const Case& test : cases) {
        const EntrySnippet snippet(test.lines, placeholders);
        const std::vector<std::string_view> values(test.values.begin(), test.values.end());
        LineList filled;
        EXPECT_EQ(snippet.Fill(values, MaxGeneratedFileSize, filled), test.placed) << test.lines.front();
        for (std::size_t k = 0; k < values.size(); ++k)
            placeholders[k].SetReplacement(test.values[k]);
        LineList replaced = test.lines;
        ASSERT_TRUE(ApplyReplacementsWithin(replaced, placeholders, MaxGeneratedFileSize));
        if (test.placed) {
            EXPECT_EQ(filled, replaced);
        }
    }
    // Lines that could pass the limit on the way are left to the replacements.
    const EntrySnippet snippet({"$a$"}, placeholders);
    LineList filled;
    EXPECT_FALSE(snippet.Fill({"12", "", ""}, 2, filled));
    EXPECT_TRUE(snippet.Fill({"12", "", ""}, 5, filled));
}

} // namespace
} // namespace tw::test
