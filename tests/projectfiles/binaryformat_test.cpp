#include "projectfiles_fixture.h"

#include "projectfiles/projectfiles.h"

namespace tw::test {
namespace {

using BinaryFormat = ProjectFilesTest;

std::string U32(uint32_t v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
            static_cast<char>(v >> 24)};
}

std::string Text(const std::string& text)
{
    return std::string{static_cast<char>(text.size() & 0xFF), static_cast<char>(text.size() >> 8)} + text;
}

std::string Record(const std::string& caption, uint8_t level, const std::string& link = {})
{
    return Text(caption) + Text(link) + Text("") + Text("") + std::string(1, static_cast<char>(level));
}

const std::string DefaultSettingsText = "TextColor=clNone|\r\nBackgroundColor=clNone|\r\nLinkColor=clNone|\r\n"
                                        "ALinkColor=clNone|\r\nVLinkColor=clNone|\r\nHoverColor=clNone|\r\n"
                                        "FirstLetterColor=clNone|\r\nTitle=|\r\nFont=|\r\nFontSize=|\r\n"
                                        "SubmenuFont=|\r\nSubmenuFontSize=|\r\nSubmenuLeftMargin=|\r\n"
                                        "BackgroundImage=|\r\nhr=<hr>|\r\nTemplate=|\r\nFilename=|\r\nfileext=|\r\n";

std::string V11File(const std::string& records, const std::string& settings = DefaultSettingsText,
                    const std::string& variables = {})
{
    return std::string("\x03TWB\x01\x01", 6) + U32(static_cast<uint32_t>(records.size())) + records +
           std::string(1, '\0') + U32(static_cast<uint32_t>(settings.size())) + settings + std::string(1, '\0') +
           U32(static_cast<uint32_t>(variables.size())) + variables;
}

TEST_F(BinaryFormat, WritesTheExampleFileByteForByte)
{
    AddItem(document_, document_.Tree().Root(), "A");
    ASSERT_TRUE(SaveProject(document_, PathOf("a.twb"), pfBinaryV11, sink_));
    const std::string expected = std::string("\x03\x54\x57\x42\x01\x01", 6) +
                                 std::string("\x0A\x00\x00\x00\x01\x00\x41\x00\x00\x00\x00\x00\x00\x00", 14) +
                                 std::string(1, '\0') + U32(static_cast<uint32_t>(DefaultSettingsText.size())) +
                                 DefaultSettingsText + std::string(1, '\0') + std::string(4, '\0');
    EXPECT_EQ(ReadBytes("a.twb"), expected);
    EXPECT_EQ(document_.Tree().Root().Caption(), "a.twb");
    EXPECT_FALSE(document_.Modified());
    EXPECT_TRUE(sink_.texts.empty());
}

TEST_F(BinaryFormat, V11KeepsEverythingAndV10FlattensAndDropsDeepLevels)
{
    FillSampleProject(document_);
    const std::string tree = DumpTree(document_);
    ASSERT_TRUE(SaveProject(document_, PathOf("p11.twb"), pfBinaryV11, sink_));
    ASSERT_TRUE(SaveProject(document_, PathOf("p10.twb"), pfBinaryV10, sink_));

    TqzHTML original;
    FillSampleProject(original);
    EXPECT_EQ(Load("p11.twb"), pfBinaryV11);
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(DumpTree(document_), tree);
    EXPECT_EQ(DumpVariables(document_), DumpVariables(original));
    ExpectSameSettings(document_, original);
    EXPECT_FALSE(document_.Variables().Data(2).FromTemplate);
    EXPECT_EQ(document_.Tree().Root().Caption(), "p11.twb");
    EXPECT_FALSE(document_.Modified());

    EXPECT_EQ(Load("p10.twb"), pfBinaryV10);
    EXPECT_EQ(DumpTree(document_), "Start|index.htm|main\n"
                                   "  News \xB6 Presse|news.htm|\n"
                                   "  Kontakt| |\n"
                                   "\xDC"
                                   "ber uns|http://example.org/?a=1&b=2|\n");
    EXPECT_EQ(DumpVariables(document_), "Autor=Erika \xB6 Mustermann\nFuss=Zeile 1 Zeile 2Zeile 3\nLeer=\n");
    EXPECT_EQ(document_.GetColor(ciHover), 0x12345678u);
    EXPECT_TRUE(sink_.texts.empty());
}

TEST_F(BinaryFormat, StoresColoursByNameOrDollarHexAndEmptyValuesWithTheirBar)
{
    document_.SetColor(ciText, 0x0000FF);
    document_.SetColor(ciLink, 0x80000018);
    document_.SetColor(ciHover, 0x00FF8040);
    document_.SetString(siHr, "");
    document_.SetString(siTitle, "Titel  ");
    const std::string bytes = (SaveProject(document_, PathOf("c.twb"), pfBinaryV11, sink_), ReadBytes("c.twb"));
    EXPECT_NE(bytes.find("TextColor=clRed|\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("LinkColor=clInfoBk|\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("HoverColor=$00FF8040|\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\nhr=|\r\n"), std::string::npos);
    Load("c.twb");
    EXPECT_EQ(document_.GetString(siHr), "");
    EXPECT_EQ(document_.GetString(siTitle), "Titel  ");
    EXPECT_EQ(document_.GetColor(ciLink), 0x80000018u);
}

TEST_F(BinaryFormat, SettingsBlockReadingRules)
{
    // Keys in any letter case and any order; the first matching line wins;
    // a key with nothing after "=" and a missing key take the default.
    WriteBytes("s.twb", V11File("", "HR=\r\ntitle=Eins|\r\nTitle=Zwei|\r\nlinkcolor=CLLIME|\r\n"
                                    "TextColor=$000000FF|\nFont=Arial\r\nFontSize=0x10|\r\n"));
    Load("s.twb");
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(document_.GetString(siHr), "<hr>");
    EXPECT_EQ(document_.GetString(siTitle), "Eins");
    EXPECT_EQ(document_.GetColor(ciLink), 0x00FF00u);
    EXPECT_EQ(document_.GetColor(ciText), 0x0000FFu);
    EXPECT_EQ(document_.GetString(siFont), "Aria"); // the last character is the bar
    EXPECT_EQ(document_.GetString(siFontSize), "0x10");
    EXPECT_EQ(document_.GetColor(ciBackground), clNone);
}

TEST_F(BinaryFormat, EmptyTreeAndNoVariables)
{
    ASSERT_TRUE(SaveProject(document_, PathOf("e.twb"), pfBinaryV11, sink_));
    const std::string bytes = ReadBytes("e.twb");
    EXPECT_EQ(bytes.substr(6, 5), std::string(5, '\0')); // tree length 0, end mark
    EXPECT_EQ(bytes.substr(bytes.size() - 5), std::string(5, '\0'));
    document_.SetString(siTitle, "x");
    Load("e.twb");
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(document_.Tree().Count(), 1u);
    EXPECT_EQ(document_.GetString(siTitle), "");
    EXPECT_EQ(document_.GetString(siHr), "<hr>");
}

TEST_F(BinaryFormat, ReadsBlocksSplitIntoSeveralChunks)
{
    const std::string records = Record("A", 0) + Record("B", 1);
    const std::string file = std::string("\x03TWB\x01\x01", 6) + U32(5) + records.substr(0, 5) + "\x01" + U32(0) +
                             "\x03" + U32(static_cast<uint32_t>(records.size() - 5)) + records.substr(5) +
                             std::string(1, '\0') + U32(static_cast<uint32_t>(DefaultSettingsText.size())) +
                             DefaultSettingsText + std::string(1, '\0') + U32(3) + Text("V") + "\x01" + U32(3) +
                             Text("W");
    WriteBytes("chunks.twb", file);
    Load("chunks.twb");
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(DumpTree(document_), "A||\n  B||\n");
    EXPECT_EQ(DumpVariables(document_), "V=W\n");

    // Every place of the split: in a length field, inside a text, between fields.
    const std::string linked = Record("Abc", 0, "a.htm") + Record("Bd", 1, "b.htm");
    for (std::size_t split = 1; split < linked.size(); ++split) {
        WriteBytes("split.twb", std::string("\x03TWB\x01\x01", 6) + U32(static_cast<uint32_t>(split)) +
                                    linked.substr(0, split) + "\x01" + V11File(linked.substr(split)).substr(6));
        Load("split.twb");
        EXPECT_EQ(DumpTree(document_), "Abc|a.htm|\n  Bd|b.htm|\n") << split;
    }
}

TEST_F(BinaryFormat, PlacesRecordsByLevel)
{
    WriteBytes("l.twb", V11File(Record("1", 0) + Record("2", 1) + Record("3", 2) + Record("4", 0)));
    Load("l.twb");
    EXPECT_EQ(DumpTree(document_), "1||\n  2||\n    3||\n4||\n");

    // Levels that jump go below the nearest item with a lower level; equal
    // stored levels stay siblings.
    WriteBytes("j.twb", V11File(Record("A", 0) + Record("B", 3) + Record("C", 3) + Record("D", 1) + Record("E", 0)));
    Load("j.twb");
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(DumpTree(document_), "A||\n  B||\n  C||\n  D||\nE||\n");

    WriteBytes("deep.twb", V11File(Record("A", 5) + Record("B", 5) + Record("C", 6) + Record("D", 0)));
    Load("deep.twb");
    EXPECT_EQ(DumpTree(document_), "A||\nB||\n  C||\nD||\n");

    std::string v10 = V11File(Record("A", 7) + Record("B", 0) + Record("C", 9));
    v10[5] = 0;
    WriteBytes("v10.twb", v10);
    EXPECT_EQ(Load("v10.twb"), pfBinaryV10);
    EXPECT_EQ(DumpTree(document_), "A||\nB||\n  C||\n");
}

TEST_F(BinaryFormat, KeepsTheFullDepthTheLevelByteHoldsAndRefusesMore)
{
    MenuNode* node = &document_.Tree().Root();
    for (int level = 1; level <= 256; ++level)
        node = &AddItem(document_, *node, std::to_string(level));
    ASSERT_TRUE(SaveProject(document_, PathOf("d.twb"), pfBinaryV11, sink_));
    const std::string saved = ReadBytes("d.twb");
    Load("d.twb");
    EXPECT_EQ(document_.Tree().Count(), 257u);
    EXPECT_EQ(document_.Tree().NodeAt(256)->Level(), 256);

    AddItem(document_, *document_.Tree().NodeAt(256), "257");
    document_.SetModified(true);
    EXPECT_FALSE(SaveProject(document_, PathOf("d.twb"), pfBinaryV11, sink_));
    ASSERT_EQ(sink_.texts.size(), 1u);
    EXPECT_EQ(sink_.texts[0],
              "d.twb: Das Men\xFC hat mehr als 256 Ebenen und kann in diesem Format nicht gespeichert werden.");
    EXPECT_EQ(ReadBytes("d.twb"), saved);
    EXPECT_TRUE(document_.Modified());
    // V1.0 stores two levels only, so the depth does not matter there.
    EXPECT_TRUE(SaveProject(document_, PathOf("d10.twb"), pfBinaryV10, sink_));
}

TEST_F(BinaryFormat, RefusesTextsLongerThanATextField)
{
    AddItem(document_, document_.Tree().Root(), "Lang", std::string(65535, 'x'));
    ASSERT_TRUE(SaveProject(document_, PathOf("t.twb"), pfBinaryV11, sink_));
    const std::string saved = ReadBytes("t.twb");
    Load("t.twb");
    EXPECT_EQ(document_.Tree().NodeAt(1)->Item()->Link.size(), 65535u);

    document_.Variables().AddVariable("Gross", std::string(65536, 'y'), false);
    EXPECT_FALSE(SaveProject(document_, PathOf("t.twb"), pfBinaryV11, sink_));
    ASSERT_EQ(sink_.texts.size(), 1u);
    EXPECT_EQ(sink_.texts[0], "t.twb: Ein Text von Variable \"Gross\" ist l\xE4nger als 65535 Zeichen und kann in "
                              "diesem Format nicht gespeichert werden.");
    EXPECT_EQ(ReadBytes("t.twb"), saved);
    EXPECT_EQ(document_.Tree().Root().Caption(), "t.twb");
}

TEST_F(BinaryFormat, UnsupportedVersionLoadsNothing)
{
    std::string file = V11File(Record("A", 0));
    file[5] = 2;
    WriteBytes("v12.twb", file);
    int format = 7;
    EXPECT_FALSE(LoadProject(document_, PathOf("v12.twb"), format, sink_));
    EXPECT_EQ(format, 7);
    EXPECT_EQ(sink_.texts, std::vector<std::string>{"Das Format dieser TWB Version wird nicht unterst\xFCtzt"});
    EXPECT_EQ(document_.Tree().Count(), 1u);
    EXPECT_EQ(document_.Tree().Root().Caption(), "v12.twb");
    EXPECT_FALSE(document_.Modified());

    file[4] = 2;
    file[5] = 0;
    WriteBytes("v20.twb", file);
    EXPECT_FALSE(LoadProject(document_, PathOf("v20.twb"), format, sink_));
    EXPECT_EQ(sink_.texts.size(), 2u);
}

TEST_F(BinaryFormat, LowerCaseMagicIsATextProject)
{
    WriteBytes("m.twb", std::string("\x03twb\x01\x01", 6));
    EXPECT_EQ(Load("m.twb"), pfText);
    // Read as an older menu file, whose item file is missing.
    ASSERT_EQ(sink_.texts.size(), 1u);
    EXPECT_EQ(sink_.texts[0].rfind("m.twb: ", 0), 0u);
}

TEST_F(BinaryFormat, EveryTruncationLoadsWhatItHolds)
{
    FillSampleProject(document_);
    ASSERT_TRUE(SaveProject(document_, PathOf("full.twb"), pfBinaryV11, sink_));
    const std::string full = ReadBytes("full.twb");
    std::size_t previousCount = 1;
    int colourErrors = 0;
    for (std::size_t length = 6; length < full.size(); ++length) {
        WriteBytes("cut.twb", full.substr(0, length));
        sink_.texts.clear();
        EXPECT_EQ(Load("cut.twb"), pfBinaryV11);
        // Only a settings block cut inside a colour can fail; then the
        // document shows what was read and is not named after the file.
        if (!loaded_) {
            ASSERT_EQ(sink_.texts.size(), 1u) << length;
            EXPECT_NE(sink_.texts[0].find("is not a valid integer value"), std::string::npos) << length;
            EXPECT_EQ(document_.Tree().Root().Caption(), "Unbenannt");
            ++colourErrors;
        } else {
            EXPECT_TRUE(sink_.texts.empty()) << length;
        }
        EXPECT_GE(document_.Tree().Count(), previousCount) << length;
        EXPECT_LE(document_.Variables().Count(), 3u);
        previousCount = document_.Tree().Count();
    }
    EXPECT_GT(colourErrors, 0);
    EXPECT_EQ(previousCount, 6u);
}

TEST_F(BinaryFormat, LengthFieldsPointingPastTheEndStopAtTheEnd)
{
    // A chunk of 4 GiB - 1 bytes holding one record and a caption that
    // claims more bytes than follow.
    WriteBytes("huge.twb", std::string("\x03TWB\x01\x01", 6) + U32(0xFFFFFFFF) + Record("A", 0) +
                               std::string("\xFF\xFF", 2) + "abc");
    Load("huge.twb");
    EXPECT_TRUE(loaded_);
    EXPECT_EQ(DumpTree(document_), "A||\nabc||\n");
    EXPECT_EQ(document_.GetString(siHr), "<hr>");

    WriteBytes("vars.twb", V11File("", DefaultSettingsText, Text("N") + std::string("\xFF\xFF", 2) + "v"));
    Load("vars.twb");
    EXPECT_EQ(DumpVariables(document_), "N=v\n");
}

TEST_F(BinaryFormat, ColourThatDoesNotConvertStopsTheLoadAfterTheTree)
{
    WriteBytes("bad.twb", V11File(Record("A", 0), "TextColor=red|\r\n", Text("V") + Text("W")));
    Load("bad.twb");
    EXPECT_FALSE(loaded_);
    EXPECT_EQ(sink_.texts, std::vector<std::string>{"bad.twb: 'red' is not a valid integer value"});
    EXPECT_EQ(DumpTree(document_), "A||\n");
    EXPECT_EQ(document_.Variables().Count(), 0u);
    EXPECT_EQ(document_.Tree().Root().Caption(), "Unbenannt");
}

} // namespace
} // namespace tw::test
