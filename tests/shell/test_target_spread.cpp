// One target for many items at once, as one step of the history.
#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "shell/documenteditor.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"

#include <QAction>
#include <QMenu>

namespace tw::shelltest {
namespace {

using TargetSpreadTest = MainFormTest;

TEST_F(TargetSpreadTest, GivesTheTargetBelowOrToAllAndUndoesAtOnce)
{
    DocumentEditor& editor = Form().Editor();
    MenuNode& root = Form().Document().Tree().Root();
    MenuNode& courses = editor.AddItem(root, "Kurse");
    editor.SetLink(courses, QStringLiteral("kurse.html"), QStringLiteral("inhalt"));
    editor.AddItem(courses, "Yoga");
    editor.AddItem(*courses.Child(0), "Anf\xE4nger");
    MenuNode& other = editor.AddItem(root, "Kontakt");
    const auto targets = [&] {
        std::vector<std::string> all;
        for (const MenuNode* node = root.NextPreOrder(); node; node = node->NextPreOrder())
            all.push_back(node->Item()->Target);
        return all;
    };

    Form().menuTreePage()->SelectNode(courses);
    QAction* spread = Form().findChild<QAction*>(QStringLiteral("SpreadTarget"));
    ASSERT_TRUE(spread && Form().menuTreePage()->contextMenu()->actions().contains(spread));
    Form().menuTreePage()->PopupMenu1Popup();
    spread->menu()->actions().at(0)->trigger();
    EXPECT_EQ(targets(), (std::vector<std::string>{"inhalt", "inhalt", "inhalt", ""}));
    const int steps = editor.History().index();
    editor.Undo();
    EXPECT_EQ(targets(), (std::vector<std::string>{"inhalt", "", "", ""}));

    editor.SpreadTarget(courses, true);
    EXPECT_EQ(other.Item()->Target, "inhalt");
    EXPECT_EQ(editor.History().index(), steps);
}

} // namespace
} // namespace tw::shelltest
