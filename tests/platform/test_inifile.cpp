#include "platform/error.h"
#include "platform/inifile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace tw {
namespace {

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCase)
{
    const IniFile ini = IniFile::FromBytes("[main]\r\nTitle = Hallo Welt \r\nTITLE=second\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(ini.Read("Main", "title"), "Hallo Welt");
    EXPECT_EQ(ini.Read("OTHER", "X"), "1");
    EXPECT_EQ(ini.Read("Main", "x"), std::nullopt);
    EXPECT_EQ(ini.ReadString("Nope", "x", "dflt"), "dflt");
}

TEST(IniFile, FirstSectionOfANameWins)
{
    const IniFile ini = IniFile::FromBytes("[Main]\na=1\n[Main]\na=2\nb=3\n");
    EXPECT_EQ(ini.Read("Main", "a"), "1");
    EXPECT_EQ(ini.Read("Main", "b"), std::nullopt);
}

TEST(IniFile, StripsMatchingQuotesAndCutsLongValues)
{
    const IniFile ini =
        IniFile::FromBytes("[S]\nq=\" padded \"\ns='x'\nodd=\"x'\nlong=" + std::string(3000, 'v') + "\n");
    EXPECT_EQ(ini.Read("S", "q"), " padded ");
    EXPECT_EQ(ini.Read("S", "s"), "x");
    EXPECT_EQ(ini.Read("S", "odd"), "\"x'");
    EXPECT_EQ(ini.Read("S", "long")->size(), IniFile::MaxValueLength);
}

TEST(IniFile, IntegersInDecimalAndHexadecimal)
{
    const IniFile ini = IniFile::FromBytes("[L]\na=-12\nb=0x1F\nc=$ff\nd=12abc\ne=4294967296\nf=\ng=0X10\nh=+7\n"
                                           "i=2147483648\n");
    EXPECT_EQ(ini.ReadInteger("L", "a", 0), -12);
    EXPECT_EQ(ini.ReadInteger("L", "b", 0), 31);
    EXPECT_EQ(ini.ReadInteger("L", "c", 0), 255);
    EXPECT_EQ(ini.ReadInteger("L", "d", 99), 99);
    EXPECT_EQ(ini.ReadInteger("L", "e", 99), 99);
    EXPECT_EQ(ini.ReadInteger("L", "f", 99), 99);
    EXPECT_EQ(ini.ReadInteger("L", "g", 0), 16);
    EXPECT_EQ(ini.ReadInteger("L", "h", 0), 7);
    EXPECT_EQ(ini.ReadInteger("L", "i", 99), 99);
    EXPECT_EQ(ini.ReadInteger("L", "missing", -1), -1);
}

TEST(IniFile, WritingReplacesInPlaceAndKeepsEveryOtherLine)
{
    IniFile ini = IniFile::FromBytes("; comment\n[Main]\nTitle=old\nfont=Arial\n\n[Extra]\nkeep=me\n");
    ini.Write("MAIN", "title", "new");
    ini.Write("Main", "hr", "<hr>");
    ini.Write("Added", "k", "v");
    EXPECT_EQ(ini.ToBytes(), "; comment\r\n[Main]\r\ntitle=new\r\nfont=Arial\r\nhr=<hr>\r\n\r\n[Extra]\r\n"
                             "keep=me\r\n[Added]\r\nk=v\r\n");
}

TEST(IniFile, WritingGoesToTheFirstMatchLikeReading)
{
    IniFile ini = IniFile::FromBytes("[Main]\r\nk=1\r\nK=2\r\n[Other]\r\n[main]\r\nneu=alt\r\n");
    ini.Write("Main", "k", "x");
    ini.Write("Main", "neu", "y");
    EXPECT_EQ(ini.ToBytes(), "[Main]\r\nk=x\r\nK=2\r\nneu=y\r\n[Other]\r\n[main]\r\nneu=alt\r\n");
    EXPECT_EQ(ini.Read("main", "NEU"), "y");
}

TEST(IniFile, MissingFileReadsAsEmpty)
{
    const auto missing = std::filesystem::temp_directory_path() / ("tw_ini_missing_" + std::to_string(getpid()));
    EXPECT_TRUE(IniFile::Load((missing / "x.tws").string()).ToBytes().empty());
}

} // namespace
} // namespace tw
