// Random projects saved by the program and by a plain writer built straight
// from the file layouts must give the same bytes; split into chunks the way
// other writers may do it, a binary file must load the same.
#include "projectfiles_fixture.h"

#include "projectfiles/projectfiles.h"

#include <cstdio>
#include <random>

namespace tw::test {
namespace {

const char* const Keys[] = {
    "TextColor",         "BackgroundColor", "LinkColor", "ALinkColor", "VLinkColor",  "HoverColor",
    "FirstLetterColor",  "Title",           "Font",      "FontSize",   "SubmenuFont", "SubmenuFontSize",
    "SubmenuLeftMargin", "BackgroundImage", "hr",        "Template",   "Filename",    "fileext"};

std::string ColourText(TColor colour)
{
    if (colour == clNone)
        return "clNone";
    if (colour == 0x0000FF)
        return "clRed";
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(colour));
    return text;
}

std::string SettingText(const TqzHTML& document, int key)
{
    if (key < 7)
        return ColourText(document.GetColor(key + 1));
    if (key < 15)
        return document.GetString(key - 6);
    return document.GetFileSetting(key - 14);
}

std::string Le(uint64_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::string Field(const std::string& text)
{
    return Le(text.size(), 2) + text;
}

std::string Flat(std::string value)
{
    std::string out;
    for (char c : value) {
        if (c == '\r')
            out += ' ';
        else if (c != '\n')
            out += c;
    }
    return out;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\xB6' ? std::string("&para;") : std::string(1, c);
    return out;
}

std::string BinaryFile(const TqzHTML& document, bool v11)
{
    std::string tree;
    for (const MenuNode* node = document.Tree().Root().NextPreOrder(); node;) {
        if (!v11 && node->Level() > 2) {
            node = node->NextSkippingChildren();
            continue;
        }
        const TMTItem& item = *node->Item();
        tree += Field(node->Caption()) + Field(!v11 && item.Link.empty() ? " " : item.Link) + Field(item.Target) +
                Field(item.LinkID) + static_cast<char>(node->Level() - 1);
        node = node->NextPreOrder();
    }
    std::string settings;
    for (int key = 0; key < 18; ++key)
        settings += std::string(Keys[key]) + "=" + SettingText(document, key) + "|\r\n";
    std::string variables;
    std::string name;
    std::string value;
    for (std::size_t i = 0; i < document.Variables().Count(); ++i) {
        document.Variables().GetVariable(i, name, value);
        variables += Field(name) + Field(v11 ? value : Flat(value));
    }
    return std::string("\x03TWB\x01", 5) + static_cast<char>(v11 ? 1 : 0) + Le(tree.size(), 4) + tree +
           std::string(1, '\0') + Le(settings.size(), 4) + settings + std::string(1, '\0') + Le(variables.size(), 4) +
           variables;
}

std::string MenuFile(const TqzHTML& document)
{
    std::string out = "TWF 2\r\n";
    for (const MenuNode* node = document.Tree().Root().NextPreOrder(); node;) {
        if (node->Level() > 2) {
            node = node->NextSkippingChildren();
            continue;
        }
        out += Escaped(node->Caption()) + "\xB6" + Escaped(node->Item()->Link) + "\xB6" +
               Escaped(node->Item()->Target) + "\xB6" + (node->Level() == 2 ? "1" : "0") + "\r\n";
        node = node->NextPreOrder();
    }
    return out;
}

std::string SettingsFile(const TqzHTML& document)
{
    std::string out = "[Main]\r\n";
    for (int key = 0; key < 18; ++key)
        out += std::string(Keys[key]) + "=" + SettingText(document, key) + "\r\n";
    return out;
}

std::string VariablesFile(const TqzHTML& document)
{
    std::string out;
    std::string name;
    std::string value;
    for (std::size_t i = 0; i < document.Variables().Count(); ++i) {
        document.Variables().GetVariable(i, name, value);
        out += Escaped(name) + "\xB6" + Escaped(Flat(value)) + "\r\n";
    }
    return out;
}

class RandomProject {
public:
    explicit RandomProject(unsigned seed) : random_(seed) {}

    void Fill(TqzHTML& document)
    {
        std::vector<MenuNode*> nodes{&document.Tree().Root()};
        const int items = Pick(0, 25);
        for (int i = 0; i < items; ++i) {
            MenuNode* parent = nodes[static_cast<std::size_t>(Pick(0, static_cast<int>(nodes.size()) - 1))];
            if (parent->Level() >= 4)
                parent = &document.Tree().Root();
            MenuNode& node = AddItem(document, *parent, Text(false), Text(false), Text(false));
            node.Item()->LinkID = Text(false);
            nodes.push_back(&node);
        }
        for (int i = 1; i <= ColorCount; ++i) {
            const int kind = Pick(0, 2);
            document.SetColor(i, kind == 0 ? clNone : kind == 1 ? 0x0000FF : 0x40000000u | Pick(0, 0xFFFFFF));
        }
        for (int i = 1; i <= StringCount; ++i)
            document.SetString(i, Text(false));
        for (int i = 1; i <= FileSettingCount; ++i)
            document.SetFileSetting(i, Text(false));
        const int variables = Pick(0, 5);
        for (int i = 0; i < variables; ++i)
            document.Variables().AddVariable(Text(false), Text(true), false);
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // Often empty; pilcrows, blanks, umlauts and "|" ; line breaks only where asked.
    std::string Text(bool lineBreaks)
    {
        static const std::string plain = "abZ 09|=&;\xB6\xFC";
        std::string text;
        const int length = Pick(0, 3) == 0 ? 0 : Pick(1, 12);
        for (int i = 0; i < length; ++i) {
            if (lineBreaks && Pick(0, 5) == 0)
                text += Pick(0, 1) ? "\r\n" : "\n";
            else
                text += plain[static_cast<std::size_t>(Pick(0, static_cast<int>(plain.size()) - 1))];
        }
        return text;
    }

    std::mt19937 random_;
};

uint32_t U32At(const std::string& bytes, std::size_t pos)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[pos + static_cast<std::size_t>(i)]);
    return value;
}

// The file with each of its three one-chunk blocks cut into chunks at random
// places (empty chunks included), joined by odd continuation marks; the
// blocks end in even marks other than 0.
std::string Rechunked(const std::string& file, std::mt19937& random)
{
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::string out = file.substr(0, 6);
    std::size_t pos = 6;
    for (int block = 0; block < 3; ++block) {
        if (block > 0) {
            out += static_cast<char>(2 * pick(1, 127));
            ++pos;
        }
        const std::string content = file.substr(pos + 4, U32At(file, pos));
        pos += 4 + content.size();
        std::size_t start = 0;
        bool continued = true;
        while (continued) {
            const std::string piece = content.substr(start, static_cast<std::size_t>(pick(0, 7)));
            start += piece.size();
            out += Le(piece.size(), 4) + piece;
            continued = start < content.size() || pick(0, 3) == 0;
            if (continued)
                out += static_cast<char>(2 * pick(0, 127) + 1);
        }
    }
    return out;
}

using ReferenceWriter = ProjectFilesTest;

TEST_F(ReferenceWriter, RandomProjectsGiveTheSameBytesInEveryFormat)
{
    int deepProjects = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        TqzHTML document;
        RandomProject(seed).Fill(document);
        deepProjects += document.HasDeepLevels() ? 1 : 0;
        std::filesystem::remove(dir_.Path() / "p.tws");

        ASSERT_TRUE(SaveProject(document, PathOf("p.twb"), pfBinaryV11, sink_));
        EXPECT_EQ(ReadBytes("p.twb"), BinaryFile(document, true)) << seed;
        ASSERT_TRUE(SaveProject(document, PathOf("p.twb"), pfBinaryV10, sink_));
        EXPECT_EQ(ReadBytes("p.twb"), BinaryFile(document, false)) << seed;
        ASSERT_TRUE(SaveProject(document, PathOf("p.twf"), pfText, sink_));
        EXPECT_EQ(ReadBytes("p.twf"), MenuFile(document)) << seed;
        EXPECT_EQ(ReadBytes("p.tws"), SettingsFile(document)) << seed;
        EXPECT_EQ(ReadBytes("p.twv"), VariablesFile(document)) << seed;
    }
    EXPECT_GT(deepProjects, 10); // items below level 2 that V1.0 and text leave out
    EXPECT_TRUE(sink_.texts.empty());
}

TEST_F(ReferenceWriter, BlocksInManyChunksLoadLikeOneChunk)
{
    std::mt19937 random(7);
    for (unsigned seed = 1; seed <= 40; ++seed) {
        TqzHTML original;
        RandomProject(seed).Fill(original);
        for (int format : {pfBinaryV11, pfBinaryV10}) {
            ASSERT_TRUE(SaveProject(original, PathOf("one.twb"), format, sink_));
            WriteBytes("many.twb", Rechunked(ReadBytes("one.twb"), random));
            TqzHTML fromOne;
            TqzHTML fromMany;
            int formatOne = 0;
            int formatMany = 0;
            EXPECT_TRUE(LoadProject(fromOne, PathOf("one.twb"), formatOne, sink_));
            EXPECT_TRUE(LoadProject(fromMany, PathOf("many.twb"), formatMany, sink_)) << seed;
            EXPECT_EQ(formatMany, format);
            EXPECT_EQ(DumpTree(fromMany), DumpTree(fromOne)) << seed;
            EXPECT_EQ(DumpVariables(fromMany), DumpVariables(fromOne)) << seed;
            ExpectSameSettings(fromMany, fromOne);
            if (format == pfBinaryV11) {
                EXPECT_EQ(DumpTree(fromOne), DumpTree(original)) << seed;
                EXPECT_EQ(DumpVariables(fromOne), DumpVariables(original)) << seed;
            }
        }
    }
    EXPECT_TRUE(sink_.texts.empty());
}

} // namespace
} // namespace tw::test
