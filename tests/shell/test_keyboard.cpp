#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "inspector/gridtreeview.h"
#include "inspector/mybutton.h"
#include "inspector/oic.h"
#include "shell/editorparts.h"
#include "shell/layoutpage.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/variablespage.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace tw::shelltest {
namespace {

// The main window worked with the keyboard alone: every key goes to the
// control that has the focus, as it does for a user.
class KeyboardTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        Form().show();
        Form().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    }

    MenuTreePage& Tree() { return *Form().menuTreePage(); }
    static QWidget* Focused() { return QApplication::focusWidget(); }
    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Focused(), key, modifiers);
    }
    QWidget* ShownPage()
    {
        QWidget* page = Form().Pages()->currentWidget();
        return page == Form().SettingsPages() ? Form().SettingsPages()->currentWidget() : page;
    }
    // A top-level item added with Insert in the tree, its caption accepted.
    void AddItemByKey()
    {
        Tree().treeView()->setFocus(Qt::TabFocusReason);
        Press(Qt::Key_Insert);
        Press(Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Tree().selectionReportPending(); }, 2000));
    }
    // The popup menu that the key opens, closed again.
    QWidget* PopupOpenedBy(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QWidget* popup = nullptr;
        QTimer::singleShot(0, [&popup] {
            popup = QApplication::activePopupWidget();
            if (popup != nullptr)
                popup->close();
        });
        Press(key, modifiers);
        Form().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Form()));
        return popup;
    }
    QToolButton* ItemButton(MenuTreePage::Command command)
    {
        for (QToolButton* button : Tree().findChildren<QToolButton*>())
            if (button->defaultAction() == Tree().toolbarAction(command))
                return button;
        return nullptr;
    }
};

TEST_F(KeyboardTest, PageKeysVisitEveryPageInTurnFromAnyControl)
{
    Tmainform& form = Form();
    QWidget* general = form.SettingsPages()->widget(0);
    QWidget* layout = form.SettingsPages()->widget(1);
    QWidget* grid = form.layoutPage()->Controls().tree;
    QWidget* variables = form.variablesPage();
    QWidget* list = form.variablesPage()->listView();
    QWidget* tree = Tree().treeView();
    tree->setFocus(Qt::TabFocusReason);

    // Each page shows its first control; after the last page comes the first.
    const std::vector<std::tuple<Qt::Key, Qt::KeyboardModifiers, QWidget*, QWidget*>> steps{
        {Qt::Key_Tab, Qt::ControlModifier, general, form.efilename()},
        {Qt::Key_Tab, Qt::ControlModifier, layout, grid},
        {Qt::Key_PageDown, Qt::ControlModifier, variables, list},
        {Qt::Key_Tab, Qt::ControlModifier, form.menuTreePage(), tree},
        // Ctrl+Shift+Tab as the keyboard sends it.
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, variables, list},
        {Qt::Key_PageUp, Qt::ControlModifier, layout, grid},
        {Qt::Key_PageUp, Qt::ControlModifier, general, form.efilename()},
    };
    for (const auto& [key, modifiers, page, control] : steps) {
        Press(key, modifiers);
        EXPECT_EQ(ShownPage(), page) << QKeySequence(key | modifiers).toString().toStdString();
        EXPECT_EQ(Focused(), control) << QKeySequence(key | modifiers).toString().toStdString();
    }

    // A page shown again gives the focus back to the control that had it.
    form.feedit()->setFocus(Qt::TabFocusReason);
    for (int page = 0; page < 4; ++page)
        Press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Focused(), form.feedit());
}

TEST_F(KeyboardTest, ShiftF10OpensTheContextMenuOfTheFocusedViewAtItsCurrentItem)
{
    AddItemByKey();
    AddItemByKey();
    DragTreeView* tree = Tree().treeView();
    const QRect item = tree->visualRect(tree->currentIndex());
    QRect itemOnScreen(tree->viewport()->mapToGlobal(item.topLeft()), item.size());

    const QWidget* treeMenu = PopupOpenedBy(Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(treeMenu, Tree().contextMenu());
    EXPECT_TRUE(itemOnScreen.contains(treeMenu->pos())) << "the menu opens at the current item";
    EXPECT_TRUE(Tree().popupAction(MenuTreePage::PopupDelete)->isEnabled());

    VariablesPage& variables = *Form().variablesPage();
    variables.liadd();
    variables.listView()->setCurrentIndex(variables.listView()->model()->index(0, 0));
    Press(Qt::Key_PageUp, Qt::ControlModifier);
    ASSERT_EQ(Focused(), variables.listView());
    const QWidget* variablesMenu = PopupOpenedBy(Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_NE(variablesMenu, nullptr);
    EXPECT_TRUE(variablesMenu->actions().contains(variables.popupAction(VariablesPage::ChangeCommand)));
    EXPECT_TRUE(variables.popupAction(VariablesPage::ChangeCommand)->isEnabled()) << "opened for the current row";
}

TEST_F(KeyboardTest, ItemCommandsFollowTheTreeInTheTabOrderAndHaveTheKeysTheyName)
{
    AddItemByKey();
    Press(Qt::Key_F2);
    EXPECT_NE(Tree().treeView()->indexWidget(Tree().treeView()->currentIndex()), nullptr) << "F2 renames";
    Press(Qt::Key_Escape);
    EXPECT_EQ(Tree().toolbarAction(MenuTreePage::DeleteCommand)->toolTip(), QStringLiteral("Löschen (Entf)"));
    EXPECT_EQ(Tree().popupAction(MenuTreePage::PopupDelete)->shortcut(), QKeySequence(Qt::Key_Delete));

    const std::vector<QWidget*> expected{ItemButton(MenuTreePage::AddCommand), ItemButton(MenuTreePage::SubMenuCommand),
                                         ItemButton(MenuTreePage::RenameCommand),
                                         ItemButton(MenuTreePage::DeleteCommand), Tree().menulink()};
    std::vector<QWidget*> visited;
    for (std::size_t step = 0; step < expected.size(); ++step) {
        Press(Qt::Key_Tab);
        visited.push_back(Focused());
    }
    EXPECT_EQ(visited, expected);

    // Space on the focused "Löschen" deletes the selected item.
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(Focused(), ItemButton(MenuTreePage::DeleteCommand));
    Press(Qt::Key_Space);
    EXPECT_EQ(Form().Document().Tree().Root().ChildCount(), 0u);
}

TEST_F(KeyboardTest, VariablesListTakesInsertReturnAndDelete)
{
    VariablesPage& page = *Form().variablesPage();
    Press(Qt::Key_PageUp, Qt::ControlModifier);
    ASSERT_EQ(Focused(), page.listView());
    Press(Qt::Key_Insert);
    ASSERT_EQ(Form().Document().Variables().Count(), 1u);
    EXPECT_EQ(page.listView()->currentIndex().row(), 0) << "Insert selects the new variable";
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = dialog->metaObject()->className();
            dialog->close();
        }
    });
    Press(Qt::Key_Return);
    EXPECT_EQ(opened, QStringLiteral("tw::Tvlistform"));
    EXPECT_EQ(page.toolbarAction(VariablesPage::ChangeCommand)->toolTip(), QStringLiteral("Ändern (Eingabe)"));
    Form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    ASSERT_EQ(Focused(), page.listView());
    Press(Qt::Key_Insert);
    EXPECT_EQ(page.listView()->currentIndex().row(), 1) << "Insert selects the new variable";
    Press(Qt::Key_Up, Qt::ControlModifier);
    Press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Form().Document().Variables().Caption(1), "Variable2");
    EXPECT_EQ(page.listView()->currentIndex().row(), 1) << "the moved row stays selected";
    Press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Form().Document().Variables().Caption(0), "Variable2");
    Press(Qt::Key_Delete);
    Press(Qt::Key_Down);
    Press(Qt::Key_Delete);
    EXPECT_EQ(Form().Document().Variables().Count(), 0u);
}

// Ctrl with the arrows rearranges the menu: up and down among the siblings,
// into the item above and out again; the moved item stays selected, each move
// is undone on its own, and a move that leads nowhere does nothing.
TEST_F(KeyboardTest, CtrlWithTheArrowsMovesTheSelectedItem)
{
    for (int i = 0; i < 3; ++i)
        AddItemByKey();
    MenuNode& root = Form().Document().Tree().Root();
    MenuNode* a = root.Child(0);
    MenuNode* b = root.Child(1);
    MenuNode* c = root.Child(2);
    ASSERT_EQ(Focused(), Tree().treeView());
    ASSERT_EQ(Tree().selectedNode(), c);
    const auto children = [](const MenuNode& node) {
        std::vector<const MenuNode*> list;
        for (std::size_t row = 0; row < node.ChildCount(); ++row)
            list.push_back(node.Child(row));
        return list;
    };

    Press(Qt::Key_Down, Qt::ControlModifier);
    Press(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(children(root), (std::vector<const MenuNode*>{a, b, c})) << "nowhere to go";
    Press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(children(root), (std::vector<const MenuNode*>{a, c, b}));
    Press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(children(root), (std::vector<const MenuNode*>{a, b}));
    EXPECT_EQ(children(*a), (std::vector<const MenuNode*>{c}));
    EXPECT_EQ(Tree().selectedNode(), c);
    Press(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(children(root), (std::vector<const MenuNode*>{a, c, b}));
    Press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(children(root), (std::vector<const MenuNode*>{a, b, c}));
    EXPECT_EQ(Tree().selectedNode(), c);

    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(children(root), (std::vector<const MenuNode*>{a, c, b}));
}

TEST_F(KeyboardTest, AltWithTheUnderlinedLetterOfALabelGoesToItsField)
{
    AddItemByKey();
    Press(Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(Focused(), Tree().menulink());
    Press(Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(Focused(), Tree().linktarget());

    Press(Qt::Key_Tab, Qt::ControlModifier);
    Press(Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(Focused(), Form().lbTemplates());
}

// The keyboard starts on the tree, and Escape in a link field leads back
// to it.
TEST_F(KeyboardTest, TreeHasTheFocusAtStartAndEscapeInALinkFieldReturnsToIt)
{
    EXPECT_EQ(Focused(), Tree().treeView());
    AddItemByKey();
    for (QLineEdit* field : {Tree().menulink(), Tree().linktarget()}) {
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field, QStringLiteral("x"));
        Press(Qt::Key_Escape);
        EXPECT_EQ(Focused(), Tree().treeView());
    }
}

// A page key gives the focus to the page's control and to no control on
// the way, which a screen reader would announce.
TEST_F(KeyboardTest, PageKeysPassTheFocusThroughNoOtherControl)
{
    Tmainform& form = Form();
    std::vector<QWidget*> focused;
    const auto connection = QObject::connect(qApp, &QApplication::focusChanged,
                                             [&focused](QWidget*, QWidget* now) { focused.push_back(now); });
    const std::vector<QWidget*> expected{form.efilename(), form.layoutPage()->Controls().tree,
                                         form.variablesPage()->listView(), Tree().treeView()};
    for (QWidget* control : expected) {
        focused.clear();
        Press(Qt::Key_Tab, Qt::ControlModifier);
        focused.erase(std::remove(focused.begin(), focused.end(), nullptr), focused.end());
        EXPECT_EQ(focused, std::vector<QWidget*>{control}) << control->objectName().toStdString();
    }
    QObject::disconnect(connection);
}

// A view that gets the focus marks its first row without selecting it; the
// first arrow key selects that row instead of the second.
TEST_F(KeyboardTest, FirstArrowKeySelectsTheFirstRow)
{
    QListWidget* templates = Form().lbTemplates();
    ASSERT_GE(templates->count(), 2);
    Press(Qt::Key_Tab, Qt::ControlModifier);
    templates->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_Down);
    ASSERT_EQ(templates->selectedItems().size(), 1);
    EXPECT_EQ(templates->row(templates->selectedItems().front()), 0);

    GridTreeView* grid = Form().layoutPage()->Controls().tree;
    Press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(Focused(), grid);
    Press(Qt::Key_Down);
    EXPECT_EQ(grid->selectionModel()->selectedRows().value(0), grid->model()->index(0, 0));
    Press(Qt::Key_Down);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(1, 0));
}

// The chooser of a row follows its editor in the Tab order and carries a
// name; the editor is named after its row and group.
TEST_F(KeyboardTest, TabLeadsFromTheRowEditorToItsChooser)
{
    const InspectorControls& controls = Form().layoutPage()->Controls();
    Press(Qt::Key_Tab, Qt::ControlModifier);
    Press(Qt::Key_Tab, Qt::ControlModifier);
    ASSERT_EQ(Focused(), controls.tree);
    Press(Qt::Key_Down);  // "Menüpunkt"
    Press(Qt::Key_Right); // opened
    Press(Qt::Key_Down);  // "Schrift(en)"
    ASSERT_EQ(Focused(), controls.editor);
    EXPECT_EQ(controls.editor->accessibleName(), QStringLiteral("Menüpunkt: Schrift(en)"));
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), controls.button);
    EXPECT_EQ(controls.button->accessibleName(), QStringLiteral("Schriftart wählen"));
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), controls.editor);
}

} // namespace
} // namespace tw::shelltest
