#include "document/varlist.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

class VarListTest : public ::testing::Test {
protected:
    int modifiedCalls = 0;
    TParseList list{[this] { ++modifiedCalls; }};

    std::string Name(std::size_t i) const { return list.Caption(i); }
};

TEST_F(VarListTest, AddVariableShowsFirstLineOrLeer)
{
    list.AddVariable("Leer", "", false);
    list.AddVariable("Zwei", "erste\r\nzweite", true);
    list.AddVariable("Start", "\r\nnach", false);
    EXPECT_EQ(list.DisplayText(0), "(Leer)");
    EXPECT_EQ(list.DisplayText(1), "erste");
    EXPECT_EQ(list.DisplayText(2), "");
    std::string name, value;
    list.GetVariable(0, name, value);
    EXPECT_EQ(value, "");
    list.GetVariable(1, name, value);
    EXPECT_EQ(name, "Zwei");
    EXPECT_EQ(value, "erste\r\nzweite");
    EXPECT_TRUE(list.Data(1).FromTemplate);
    EXPECT_EQ(FirstLine("a\nb\rc"), "a\nb\rc");
    EXPECT_EQ(modifiedCalls, 3);
}

TEST_F(VarListTest, RowInsertCreatesRecordAndDeleteMarksModified)
{
    list.InsertRow(0);
    EXPECT_FALSE(list.Data(0).FromTemplate);
    EXPECT_TRUE(list.Data(0).Value.empty());
    list.DeleteRow(0);
    EXPECT_EQ(modifiedCalls, 2);
    list.AddVariable("a", "1", false);
    list.AddVariable("b", "2", false);
    list.Clear();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(modifiedCalls, 6);
}

TEST_F(VarListTest, FindVariableAndUniqueName)
{
    EXPECT_EQ(list.UniqueName("Variable"), "Variable");
    list.AddVariable("variable", "", false);
    list.AddVariable("Variable2", "", false);
    int index = 99;
    EXPECT_TRUE(list.FindVariable("VARIABLE", index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(list.FindVariable("Var", index));
    EXPECT_EQ(index, -1);
    EXPECT_EQ(list.UniqueName("Variable"), "Variable3");
    EXPECT_EQ(list.UniqueName("Titel"), "Titel");
}

TEST_F(VarListTest, ApplyTemplateVarListMarksAndAdds)
{
    list.AddVariable("Alt", "bleibt", true);
    list.AddVariable("farbe", "rot", false);
    list.ApplyTemplateVarList("  $Farbe$ ,, \t$Neu$ ,");
    ASSERT_EQ(list.Count(), 3u);
    EXPECT_FALSE(list.Data(0).FromTemplate);
    EXPECT_EQ(list.Data(0).Value, "bleibt");
    EXPECT_TRUE(list.Data(1).FromTemplate);
    EXPECT_EQ(list.Data(1).Value, "rot");
    EXPECT_EQ(Name(2), "Neu");
    EXPECT_TRUE(list.Data(2).FromTemplate);
    EXPECT_EQ(list.DisplayText(2), "(Leer)");
    list.ApplyTemplateVarList("");
    EXPECT_EQ(list.Count(), 3u);
    for (std::size_t i = 0; i < list.Count(); ++i)
        EXPECT_FALSE(list.Data(i).FromTemplate);
}

TEST(StoredForm, FlattensLineBreaks)
{
    EXPECT_EQ(StoredForm("a\r\nb"), "a b");
    EXPECT_EQ(StoredForm("a\nb"), "ab");
    EXPECT_EQ(StoredForm("a\rb\r"), "a b ");
}

TEST(PilcrowEscape, RoundTripsAndRestoresAnyCase)
{
    EXPECT_EQ(EscapePilcrow("a\xB6"
                            "b"),
              "a&para;b");
    EXPECT_EQ(UnescapePilcrow("a&para;b"), "a\xB6"
                                           "b");
    EXPECT_EQ(UnescapePilcrow("a&PARA;b&Para;"), "a\xB6"
                                                 "b\xB6");
    EXPECT_EQ(UnescapePilcrow(EscapePilcrow("\xB6\xB6")), "\xB6\xB6");
}

} // namespace
} // namespace tw
