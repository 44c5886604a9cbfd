#include "projectfiles_fixture.h"

#include "projectfiles/projectfiles.h"
#include "projectfiles/textformat.h"

namespace tw::test {
namespace {

using TextFormat = ProjectFilesTest;

const std::string P(1, '\xB6');

TEST_F(TextFormat, WritesTheThreeFiles)
{
    FillSampleProject(document_);
    ASSERT_TRUE(SaveProject(document_, PathOf("menu.twf"), pfText, sink_));
    EXPECT_EQ(ReadBytes("menu.twf"), "TWF 2\r\n"
                                     "Start" +
                                         P + "index.htm" + P + "main" + P +
                                         "0\r\n"
                                         "News &para; Presse" +
                                         P + "news.htm" + P + P +
                                         "1\r\n"
                                         "Kontakt" +
                                         P + P + P +
                                         "1\r\n"
                                         "\xDC"
                                         "ber uns" +
                                         P + "http://example.org/?a=1&b=2" + P + P + "0\r\n");
    EXPECT_EQ(ReadBytes("menu.tws"), "[Main]\r\nTextColor=clRed\r\nBackgroundColor=$00C8E0F0\r\nLinkColor=clWindow\r\n"
                                     "ALinkColor=clNone\r\nVLinkColor=clGray\r\nHoverColor=$12345678\r\n"
                                     "FirstLetterColor=$FFFFFFFF\r\nTitle=Meine Seite\r\nFont=Verdana, Arial\r\n"
                                     "FontSize=10pt\r\nSubmenuFont=Tahoma\r\nSubmenuFontSize=8pt\r\n"
                                     "SubmenuLeftMargin=12\r\nBackgroundImage=bilder/hg.gif\r\nhr=<hr size=1>\r\n"
                                     "Template=Standard\r\nFilename=C:\\web\\menu.htm\r\nfileext=.html\r\n");
    EXPECT_EQ(ReadBytes("menu.twv"), "Autor" + P +
                                         "Erika &para; Mustermann\r\n"
                                         "Fuss" +
                                         P +
                                         "Zeile 1 Zeile 2Zeile 3\r\n"
                                         "Leer" +
                                         P + "\r\n");
    EXPECT_EQ(document_.Tree().Root().Caption(), "menu.twf");
    EXPECT_FALSE(document_.Modified());
}

TEST_F(TextFormat, RoundTripKeepsTwoLevelsAndFlattensValues)
{
    FillSampleProject(document_);
    ASSERT_TRUE(SaveProject(document_, PathOf("menu.twf"), pfText, sink_));
    TqzHTML original;
    FillSampleProject(original);

    EXPECT_EQ(Load("menu.twf"), pfText);
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(DumpTree(document_), "Start|index.htm|main\n"
                                   "  News \xB6 Presse|news.htm|\n"
                                   "  Kontakt||\n"
                                   "\xDC"
                                   "ber uns|http://example.org/?a=1&b=2|\n");
    EXPECT_EQ(DumpVariables(document_), "Autor=Erika \xB6 Mustermann\nFuss=Zeile 1 Zeile 2Zeile 3\nLeer=\n");
    ExpectSameSettings(document_, original);
    EXPECT_EQ(document_.Tree().Root().Caption(), "menu.twf");
    EXPECT_FALSE(document_.Modified());
    EXPECT_TRUE(sink_.texts.empty());
}

TEST_F(TextFormat, UpdatesTheSettingsFileInPlace)
{
    WriteBytes("menu.tws", "; eigene Notiz\r\n[Main]\r\nTitle=Alt\r\nEigener=Wert\r\n[Andere]\r\nTitle=bleibt\r\n");
    document_.SetString(siTitle, "Neu");
    ASSERT_TRUE(SaveProject(document_, PathOf("menu.twf"), pfText, sink_));
    const std::string tws = ReadBytes("menu.tws");
    EXPECT_EQ(tws.rfind("; eigene Notiz\r\n[Main]\r\nTitle=Neu\r\nEigener=Wert\r\nTextColor=clNone\r\n", 0), 0u) << tws;
    EXPECT_NE(tws.find("[Andere]\r\nTitle=bleibt\r\n"), std::string::npos);
}

TEST_F(TextFormat, PilcrowEscapesInAnyLetterCase)
{
    WriteBytes("p.twf", "TWF 2\r\nA&para;B" + P + "&PARA;" + P + "&PaRa;\r\n");
    WriteBytes("p.twv", "N&pArA;" + P + "v&Para;\r\n");
    Load("p.twf");
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(DumpTree(document_), "A\xB6"
                                   "B|\xB6|\xB6\n");
    EXPECT_EQ(DumpVariables(document_), "N\xB6=v\xB6\n");
}

TEST_F(TextFormat, ItemLinesAndVariableLines)
{
    // Lone CR and LF end lines too; empty lines are skipped; a line without
    // separators is a caption; only the first character of field 4 counts; a
    // sub-item before any top-level item goes to the root.
    WriteBytes("i.twf",
               "TWF 2\nVorab" + P + P + P + "1\r\nA\r\rB" + P + "b" + P + "t" + P + "1x\nC" + P + P + P + "01\r\n");
    WriteBytes("i.twv", "\r\nEins\r\n\nZwei" + P + "2" + P + "weg\r\n");
    Load("i.twf");
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(DumpTree(document_), "Vorab||\nA||\n  B|b|t\nC||\n");
    EXPECT_EQ(DumpVariables(document_), "Eins=\nZwei=2\n");
}

TEST_F(TextFormat, DetectsTheVersion)
{
    EXPECT_EQ(DetectTextVersion("TWF 2"), 2);
    EXPECT_EQ(DetectTextVersion("  twf2\t"), 2);
    EXPECT_EQ(DetectTextVersion("TwF $10"), 16);
    EXPECT_EQ(DetectTextVersion("TWF 0x3"), 3);
    EXPECT_EQ(DetectTextVersion("TWF -4"), -4);
    EXPECT_EQ(DetectTextVersion("TWF"), -1);
    EXPECT_EQ(DetectTextVersion("TWF 2a"), -1);
    EXPECT_EQ(DetectTextVersion("TW"), -1);
    EXPECT_EQ(DetectTextVersion("Start"), -1);
}

TEST_F(TextFormat, OtherVersionsReadOnlyTheVariables)
{
    WriteBytes("v3.twf", "TWF 3\r\nA" + P + P + P + "0\r\n");
    WriteBytes("v3.tws", "[Main]\r\nTitle=Nicht gelesen\r\n");
    WriteBytes("v3.twv", "N" + P + "v\r\n");
    EXPECT_EQ(Load("v3.twf"), pfText);
    EXPECT_FALSE(loaded_);
    EXPECT_EQ(sink_.texts,
              std::vector<std::string>{"v3.twf: Das Format dieser TWF Version (3) wird nicht unterst\xFCtzt"});
    EXPECT_EQ(document_.Tree().Count(), 1u);
    EXPECT_EQ(document_.GetString(siTitle), "");
    EXPECT_EQ(DumpVariables(document_), "N=v\n");
    EXPECT_EQ(document_.Tree().Root().Caption(), "v3.twf");

    // Negative versions read no variables either, so a missing file is no error.
    WriteBytes("neg.twf", "TWF -4\r\n");
    sink_.texts.clear();
    EXPECT_EQ(Load("neg.twf"), pfText);
    EXPECT_EQ(sink_.texts,
              std::vector<std::string>{"neg.twf: Das Format dieser TWF Version (-4) wird nicht unterst\xFCtzt"});
    EXPECT_EQ(document_.Variables().Count(), 0u);
    EXPECT_EQ(document_.Tree().Root().Caption(), "neg.twf");
}

TEST_F(TextFormat, SettingsDefaultsAndColourTexts)
{
    WriteBytes("s.twf", "TWF 2\r\n");
    WriteBytes("s.twv", "");
    Load("s.twf"); // no settings file: every default
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(document_.GetString(siHr), "<hr>");
    EXPECT_EQ(document_.GetColor(ciText), clNone);

    WriteBytes("s.tws", "[main]\r\ntextcolor=clred\r\nLinkColor=$000000FF\r\nHoverColor=16711680\r\nhr=\r\n"
                        "Title=\"in Anf\xFChrungszeichen\"\r\n");
    Load("s.twf");
    EXPECT_EQ(document_.GetColor(ciText), 0x0000FFu);
    EXPECT_EQ(document_.GetColor(ciLink), 0x0000FFu);
    EXPECT_EQ(document_.GetColor(ciHover), 0xFF0000u);
    EXPECT_EQ(document_.GetString(siHr), "");
    EXPECT_EQ(document_.GetString(siTitle), "in Anf\xFChrungszeichen");

    WriteBytes("s.tws", "[Main]\r\nTitle=vorher\r\nTextColor=red\r\n");
    Load("s.twf");
    EXPECT_FALSE(loaded_);
    EXPECT_EQ(sink_.texts.back(), "s.twf: 'red' is not a valid integer value");
    EXPECT_EQ(document_.Tree().Root().Caption(), "Unbenannt");
}

TEST_F(TextFormat, FailuresStopTheLoadAndKeepWhatWasRead)
{
    WriteBytes("leer.twf", "");
    Load("leer.twf");
    EXPECT_FALSE(loaded_);
    EXPECT_EQ(sink_.texts.back(), "leer.twf: Die Men\xFC"
                                  "datei ist leer.");

    // Items and settings stay when the variables file is missing.
    WriteBytes("m.twf", "TWF 2\r\nA" + P + "a" + P + P + "0\r\n");
    WriteBytes("m.tws", "[Main]\r\nTitle=T\r\n");
    Load("m.twf");
    EXPECT_FALSE(loaded_);
    EXPECT_EQ(sink_.texts.size(), 2u);
    EXPECT_EQ(sink_.texts.back().rfind("m.twf: ", 0), 0u);
    EXPECT_EQ(DumpTree(document_), "A|a|\n");
    EXPECT_EQ(document_.GetString(siTitle), "T");
    EXPECT_EQ(document_.Tree().Root().Caption(), "Unbenannt");

    int format = 2;
    EXPECT_FALSE(LoadProject(document_, PathOf("fehlt.twf"), format, sink_));
    EXPECT_EQ(format, 2);
    EXPECT_EQ(sink_.texts.back().rfind("fehlt.twf: ", 0), 0u);
}

} // namespace
} // namespace tw::test
