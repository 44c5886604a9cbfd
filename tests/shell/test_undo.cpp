// Undo and redo of every kind of edit, compared on the document as the
// command-line companion shows it.
#include "cli/project_json.h"
#include "document/qzhtml.h"
#include "guibase/documenttext.h"
#include "shell/documenteditor.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tw {
namespace {

class UndoTest : public ::testing::Test {
protected:
    UndoTest()
    {
        MenuTree& tree = document.Tree();
        vorstand = &Item(tree.Root(), "Vorstand");
        Item(Item(*vorstand, "Kasse"), "Belege");
        Item(*vorstand, "Schrift");
        Item(tree.Root(), "Termine");
        document.Variables().AddVariable("Titel", "Start", false);
        document.Variables().AddVariable("Farbe", "rot\r\nblau", true);
        document.SetModified(false);
        editor.StartHistory();
    }
    MenuNode& Item(MenuNode& parent, const std::string& caption)
    {
        MenuNode& node = document.Tree().AddChild(parent, caption);
        document.CreateItemData(node);
        node.Item()->Link = caption + ".htm";
        return node;
    }
    std::string Json() const
    {
        std::ostringstream out;
        cli::WriteProjectJson(out, document, 1);
        return out.str();
    }
    MenuNode& Top(std::size_t row) { return *document.Tree().Root().Child(row); }

    TqzHTML document;
    DocumentEditor editor{document};
    MenuNode* vorstand = nullptr;
};

TEST_F(UndoTest, EveryKindOfEditIsUndoneAndRedoneExactly)
{
    const std::vector<std::pair<const char*, std::function<void()>>> edits{
        {"add item", [&] { editor.AddItem(document.Tree().Root(), "Neu"); }},
        {"add submenu item", [&] { editor.AddItem(*vorstand, "Neu"); }},
        {"rename", [&] { editor.RenameItem(*vorstand, QStringLiteral("Präsidium")); }},
        {"delete a subtree", [&] { editor.DeleteItem(*vorstand); }},
        {"move under another item", [&] { editor.MoveItem(Top(1), *vorstand->Child(0), 1); }},
        {"sort among siblings", [&] { editor.MoveItem(*vorstand->Child(1), *vorstand, 0); }},
        {"apply link and target", [&] { editor.SetLink(*vorstand, QStringLiteral("v.htm"), QStringLiteral("main")); }},
        {"add variable", [&] { editor.AddVariable("Variable"); }},
        {"change variable", [&] { editor.ChangeVariable(1, QStringLiteral("Hintergrund"), QStringLiteral("gelb")); }},
        {"delete variable", [&] { editor.DeleteVariable(0); }},
        {"reorder variables", [&] { editor.MoveVariable(0, 1); }},
        {"layout colour", [&] { editor.SetColor(ciLink, 0x00FF00); }},
        {"layout text", [&] { editor.SetString(siTitle, QStringLiteral("Verein")); }},
        {"output file", [&] { editor.SetFileSetting(fsFilename, QStringLiteral("menu.htm")); }},
    };
    for (const auto& [name, edit] : edits) {
        SCOPED_TRACE(name);
        const std::string before = Json();
        edit();
        const std::string after = Json();
        EXPECT_NE(after, before);
        editor.Undo();
        EXPECT_EQ(Json(), before);
        editor.Redo();
        EXPECT_EQ(Json(), after);
        editor.Undo(); // every edit starts from the same document
    }
}

TEST_F(UndoTest, ARandomSequenceUndoneGivesTheStart)
{
    std::mt19937 random(11);
    const auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    const auto anyItem = [&]() -> MenuNode* {
        const std::size_t count = document.Tree().Count();
        return count > 1 ? document.Tree().NodeAt(1 + pick(count - 1)) : nullptr;
    };
    const std::string start = Json();
    for (int step = 0; step < 300; ++step) {
        MenuNode* item = anyItem();
        const std::size_t variables = document.Variables().Count();
        switch (pick(7)) {
        case 0:
            editor.AddItem(item ? *item : document.Tree().Root(), "N" + std::to_string(step));
            break;
        case 1:
            if (item)
                editor.DeleteItem(*item);
            break;
        case 2:
            if (item)
                editor.RenameItem(*item, QString::number(step));
            break;
        case 3:
            if (MenuNode* target = anyItem(); item && target && target != item && !target->HasAsAncestor(item))
                editor.MoveItem(*item, *target, pick(target->ChildCount() + 1));
            break;
        case 4:
            editor.AddVariable("V" + std::to_string(step));
            break;
        case 5:
            if (variables > 1)
                editor.MoveVariable(pick(variables), pick(variables));
            break;
        default:
            editor.SetString(siTitle, QString::number(step));
        }
    }
    const std::string end = Json();
    while (editor.History().canUndo())
        editor.Undo();
    EXPECT_EQ(Json(), start);
    while (editor.History().canRedo())
        editor.Redo();
    EXPECT_EQ(Json(), end);
}

TEST_F(UndoTest, TheSavedStateIsTheUnmodifiedOne)
{
    editor.SetString(siTitle, QStringLiteral("A"));
    editor.MarkSaved();
    EXPECT_FALSE(document.Modified());
    editor.DeleteItem(*vorstand);
    EXPECT_TRUE(document.Modified());
    editor.Undo();
    EXPECT_FALSE(document.Modified()) << "back at the saved state";
    editor.Undo();
    EXPECT_TRUE(document.Modified()) << "before the saved state";
    editor.Redo();
    EXPECT_FALSE(document.Modified());

    // A document that starts modified (rows a template added) stays so.
    document.SetModified(true);
    editor.StartHistory();
    EXPECT_TRUE(document.Modified());
    EXPECT_FALSE(editor.History().canUndo());
}

TEST_F(UndoTest, TypingIntoAFieldIsOneStepNamedAfterIt)
{
    editor.SetFileSetting(fsFilename, QStringLiteral("m"));
    editor.SetFileSetting(fsFilename, QStringLiteral("me"));
    editor.SetFileSetting(fsFilename, QStringLiteral("menu.htm"));
    EXPECT_EQ(editor.History().count(), 1);
    EXPECT_EQ(editor.History().undoText(), QStringLiteral("Ändern von „Dateiname“"));
    editor.Undo();
    EXPECT_EQ(document.GetFileSetting(fsFilename), "");
    editor.DeleteItem(*vorstand);
    EXPECT_EQ(editor.History().undoText(), QStringLiteral("Löschen von „Vorstand“"));
}

TEST(DocumentText, CharactersOutsideTheCodePageBecomeReferences)
{
    const QString text = QStringLiteral("a→b ä ") + QString::fromUcs4(U"\U0001F600");
    EXPECT_EQ(EncodeText(text).bytes, "a&#8594;b \xE4 &#128512;");
    EXPECT_TRUE(EncodeText(text).escaped);
    EXPECT_EQ(EncodeLink(QStringLiteral("s→t ä.htm")).bytes, "s%E2%86%92t \xE4.htm");
    EXPECT_FALSE(EncodeText(QStringLiteral("€ ? ü")).escaped);
}

} // namespace
} // namespace tw
