#include "projectfiles_fixture.h"

#include "projectfiles/projectfiles.h"

namespace tw::test {
namespace {

using OlderFormat = ProjectFilesTest;

TEST_F(OlderFormat, ReadsMenuItemAndSettingsFiles)
{
    WriteBytes("alt.mnu", "Start\r\n\tNews\r\n\r\n\tArchiv\n");
    WriteBytes("alt.tmf", "Start;index.htm;main\r\nNews;news.htm\r\nLeer\r\nArchiv;archiv.htm;_blank;vierte\r\n");
    WriteBytes("alt.tsf", "[Main]\r\npanel1=clRed\r\npanel4=clLime\r\ntitlename=Alt\r\ncbfont=Arial\r\n"
                          "fontsize=3\r\ncbfont2=Tahoma\r\nleftmar=5\r\npicfile=hg.gif\r\nfilename=C:\\m.htm\r\n"
                          "hr=<br>\r\nTemplate=X\r\n");
    document_.SetString(siHr, "vorher");
    EXPECT_EQ(Load("alt.mnu"), pfText);
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(DumpTree(document_), "Start|index.htm|main\n  News|news.htm|\nLeer||\n  Archiv|archiv.htm|_blank\n");
    EXPECT_EQ(document_.GetColor(ciText), 0x0000FFu);
    // panel4 is the visited-link colour, panel5 the active-link colour.
    EXPECT_EQ(document_.GetColor(ciVLink), 0x00FF00u);
    EXPECT_EQ(document_.GetColor(ciALink), clNone);
    EXPECT_EQ(document_.GetString(siTitle), "Alt");
    EXPECT_EQ(document_.GetString(siFont), "Arial");
    EXPECT_EQ(document_.GetString(siFontSize), "3");
    EXPECT_EQ(document_.GetString(siSubmenuFont), "Tahoma");
    EXPECT_EQ(document_.GetString(siSubmenuLeftMargin), "5");
    EXPECT_EQ(document_.GetString(siBackgroundImage), "hg.gif");
    EXPECT_EQ(document_.GetFileSetting(fsFilename), "C:\\m.htm");
    // Keys the older file does not have keep their reset values.
    EXPECT_EQ(document_.GetString(siHr), "<hr>");
    EXPECT_EQ(document_.GetFileSetting(fsTemplate), "");
    EXPECT_EQ(document_.Variables().Count(), 0u);
    EXPECT_EQ(document_.Tree().Root().Caption(), "alt.mnu");
}

TEST_F(OlderFormat, PanelFiveFeedsTheActiveLinkColour)
{
    WriteBytes("alt.twf", "\tVorab\r\n");
    WriteBytes("alt.tmf", "Vorab\r\n");
    WriteBytes("alt.tsf", "[Main]\r\npanel5=$00FF0000\r\n");
    Load("alt.twf");
    EXPECT_EQ(DumpTree(document_), "Vorab||\n"); // no top-level item yet: the root takes it
    EXPECT_EQ(document_.GetColor(ciALink), 0xFF0000u);
    EXPECT_EQ(document_.GetColor(ciVLink), clNone);
}

TEST_F(OlderFormat, MissingOrShortItemFileStopsTheLoad)
{
    WriteBytes("alt.twf", "A\r\n\tB\r\nC\r\n");
    Load("alt.twf");
    EXPECT_FALSE(loaded_);
    ASSERT_EQ(sink_.texts.size(), 1u);
    EXPECT_EQ(sink_.texts[0].rfind("alt.twf: ", 0), 0u);

    WriteBytes("alt.tmf", "A;a\r\nB;b\r\n");
    Load("alt.twf");
    EXPECT_FALSE(loaded_);
    EXPECT_EQ(sink_.texts.back(), "alt.twf: Die Datei alt.tmf hat weniger Zeilen als die Men\xFC"
                                  "datei.");
    EXPECT_EQ(DumpTree(document_), "A|a|\n  B|b|\n");
    EXPECT_EQ(document_.Tree().Root().Caption(), "Unbenannt");
}

} // namespace
} // namespace tw::test
