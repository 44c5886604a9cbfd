#include "document/qzhtml.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

class DocumentTest : public ::testing::Test {
protected:
    std::vector<bool> changes;
    TqzHTML doc{[this](bool m) { changes.push_back(m); }};
};

TEST_F(DocumentTest, NewDocumentHasDefaults)
{
    EXPECT_EQ(doc.Tree().Count(), 1u);
    EXPECT_EQ(doc.Tree().Root().Caption(), "Unbenannt");
    EXPECT_EQ(doc.Tree().Root().Item(), nullptr);
    for (int i = 1; i <= ColorCount; ++i)
        EXPECT_EQ(doc.GetColor(i), clNone);
    for (int i = 1; i < siHr; ++i)
        EXPECT_EQ(doc.GetString(i), "");
    EXPECT_EQ(doc.GetString(siHr), "<hr>");
    for (int i = 1; i <= FileSettingCount; ++i)
        EXPECT_EQ(doc.GetFileSetting(i), "");
    EXPECT_EQ(doc.Variables().Count(), 0u);
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(changes, std::vector<bool>{false});
}

TEST_F(DocumentTest, PlaceholdersAreFixed)
{
    EXPECT_EQ(doc.GetColorPlaceholder(ciFirstLetter), "$FirstLetterColor$");
    EXPECT_EQ(doc.GetStringPlaceholder(siSubmenuFont), "$SubMenuFont$");
    EXPECT_EQ(doc.GetStringPlaceholder(siHr), "$hr$");
    EXPECT_EQ(doc.GetColorPlaceholder(0), "");
    EXPECT_EQ(doc.GetStringPlaceholder(9), "");
}

TEST_F(DocumentTest, IndexesOutsideTheTablesChangeNothing)
{
    EXPECT_EQ(doc.GetColor(0), clNone);
    EXPECT_EQ(doc.GetColor(8), clNone);
    EXPECT_EQ(doc.GetString(9), "");
    EXPECT_EQ(doc.GetFileSetting(4), "");
    doc.SetString(9, "x");
    doc.SetColor(0, 1);
    doc.SetFileSetting(0, "x");
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(DocumentTest, SettersMarkModifiedEvenWithoutChange)
{
    doc.SetColor(ciLink, clNone);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(changes.back(), true);
    doc.SetString(siTitle, "Men\xFC");
    doc.SetFileSetting(fsFileExt, ".html");
    EXPECT_EQ(doc.GetString(siTitle), "Men\xFC");
    EXPECT_EQ(doc.GetFileSetting(fsFileExt), ".html");
    EXPECT_EQ(changes.size(), 4u);
}

TEST_F(DocumentTest, DeletingAnItemReleasesItsRecordAndMarksModified)
{
    MenuNode& item = doc.Tree().AddChild(doc.Tree().Root(), "A");
    doc.CreateItemData(item);
    doc.Tree().AddChild(item, "bare"); // a node without record marks nothing
    doc.SetModified(false);
    doc.Tree().Delete(item);
    EXPECT_TRUE(doc.Modified());
}

TEST_F(DocumentTest, ResetClearsProject)
{
    MenuNode& item = doc.Tree().AddChild(doc.Tree().Root(), "A");
    doc.CreateItemData(item);
    doc.Variables().AddVariable("v", "1", false);
    doc.SetColor(ciText, 0xFF);
    doc.SetFileSetting(fsTemplate, "x");
    doc.Tree().SetCaption(doc.Tree().Root(), "p.twf");
    doc.Reset();
    EXPECT_EQ(doc.Tree().Count(), 1u);
    EXPECT_EQ(doc.Tree().Root().Caption(), "Unbenannt");
    EXPECT_EQ(doc.Variables().Count(), 0u);
    EXPECT_EQ(doc.GetColor(ciText), clNone);
    EXPECT_EQ(doc.GetFileSetting(fsTemplate), "");
    EXPECT_FALSE(doc.Modified());
}

TEST_F(DocumentTest, HasDeepLevelsFromLevelThree)
{
    MenuNode& a = doc.Tree().AddChild(doc.Tree().Root(), "A");
    MenuNode& a1 = doc.Tree().AddChild(a, "A1");
    EXPECT_FALSE(doc.HasDeepLevels());
    doc.Tree().AddChild(a1, "A1a");
    EXPECT_TRUE(doc.HasDeepLevels());
}

} // namespace
} // namespace tw
