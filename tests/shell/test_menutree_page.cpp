#include "document/qzhtml.h"
#include "guibase/qtcodec.h"
#include "shell/documenteditor.h"
#include "shell/editorparts.h"
#include "shell/menutreepage.h"
#include "shell_test_support.h"
#include "test_menutree_support.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace tw {
namespace {

using shelltest::ChildCaptions;
using shelltest::DialogCall;
using shelltest::ScriptedDialogs;

class MenuTreePageTest : public ::testing::Test {
protected:
    MenuTreePageTest()
    {
        page = std::make_unique<MenuTreePage>(editor, dialogs);
        page->setOutputFileNameSource([this] { return outputFileName; });
        page->resize(460, 420);
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }

    MenuNode& Root() { return document.Tree().Root(); }
    MenuNode& AddItem(MenuNode& parent, const std::string& caption)
    {
        MenuNode& node = document.Tree().AddChild(parent, caption);
        document.CreateItemData(node);
        node.Item()->Link = caption + ".htm";
        node.Item()->Target = "frame" + caption;
        return node;
    }
    // A (with A1 (with A11), A2), B
    void BuildTree()
    {
        a = &AddItem(Root(), "A");
        a1 = &AddItem(*a, "A1");
        a11 = &AddItem(*a1, "A11");
        a2 = &AddItem(*a, "A2");
        b = &AddItem(Root(), "B");
        document.SetModified(false);
        view()->expandAll();
    }

    DragTreeView* view() const { return page->treeView(); }
    QModelIndex indexOf(const MenuNode* node) const { return page->model()->indexOf(node); }
    void Select(const MenuNode& node)
    {
        view()->setCurrentIndex(indexOf(&node));
        WaitForSelectionReport();
    }
    void WaitForSelectionReport()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !page->selectionReportPending(); }, 2000));
    }
    void Trigger(MenuTreePage::Command command) { page->toolbarAction(command)->trigger(); }
    // The view commits an edit in a queued call.
    static void PressReturn(QLineEdit* editor)
    {
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    QLineEdit* Editor(const MenuNode& node) const
    {
        return qobject_cast<QLineEdit*>(view()->indexWidget(indexOf(&node)));
    }
    bool ItemControlsEnabled() const
    {
        return page->toolbarAction(MenuTreePage::SubMenuCommand)->isEnabled() &&
               page->toolbarAction(MenuTreePage::RenameCommand)->isEnabled() &&
               page->toolbarAction(MenuTreePage::DeleteCommand)->isEnabled() && page->menulink()->isEnabled() &&
               page->linktarget()->isEnabled() && page->selecturl()->isEnabled() && page->BitBtn1()->isEnabled();
    }
    bool ItemControlsDisabled() const
    {
        return !page->toolbarAction(MenuTreePage::SubMenuCommand)->isEnabled() &&
               !page->toolbarAction(MenuTreePage::RenameCommand)->isEnabled() &&
               !page->toolbarAction(MenuTreePage::DeleteCommand)->isEnabled() && !page->menulink()->isEnabled() &&
               !page->linktarget()->isEnabled() && !page->selecturl()->isEnabled() && !page->BitBtn1()->isEnabled();
    }

    bool DragTo(const MenuNode& dragged, const QPoint& point)
    {
        Select(dragged);
        return shelltest::DragSelectionTo(*view(), point);
    }
    bool DragOnto(const MenuNode& dragged, const MenuNode& target)
    {
        return DragTo(dragged, view()->visualRect(indexOf(&target)).center());
    }
    bool DragToEmptySpace(const MenuNode& dragged)
    {
        const QPoint below(20, view()->viewport()->height() - 4);
        EXPECT_FALSE(view()->indexAt(below).isValid());
        return DragTo(dragged, below);
    }

    ScriptedDialogs dialogs;
    TqzHTML document;
    DocumentEditor editor{document};
    std::unique_ptr<MenuTreePage> page;
    QString outputFileName;
    MenuNode* a = nullptr;
    MenuNode* a1 = nullptr;
    MenuNode* a11 = nullptr;
    MenuNode* a2 = nullptr;
    MenuNode* b = nullptr;
};

TEST_F(MenuTreePageTest, StartsWithMoveModeAndDisabledEmptyItemControls)
{
    EXPECT_TRUE(page->moveModeButton()->isChecked());
    EXPECT_FALSE(page->sortModeButton()->isChecked());
    EXPECT_EQ(page->moveModeButton()->text(), QStringLiteral("M"));
    EXPECT_EQ(page->moveModeButton()->toolTip(), QStringLiteral("Menüpunkte verschieben"));
    EXPECT_EQ(page->sortModeButton()->toolTip(), QStringLiteral("Menüpunkte sortieren"));
    EXPECT_TRUE(page->moveModeButton()->font().bold());
    EXPECT_TRUE(ItemControlsDisabled());
    EXPECT_TRUE(page->toolbarAction(MenuTreePage::AddCommand)->isEnabled());

    QTest::mouseClick(page->sortModeButton(), Qt::LeftButton);
    EXPECT_TRUE(page->sortModeButton()->isChecked());
    EXPECT_FALSE(page->moveModeButton()->isChecked());
    EXPECT_EQ(page->dragMode(), DragMode::Sort);
}

TEST_F(MenuTreePageTest, AddWithTheRootSelectedAppendsATopLevelItemInEditMode)
{
    BuildTree();
    Select(Root());
    EXPECT_TRUE(ItemControlsDisabled());
    EXPECT_TRUE(page->menulink()->text().isEmpty());

    Trigger(MenuTreePage::AddCommand);
    ASSERT_EQ(ChildCaptions(Root()), (std::vector<std::string>{"A", "B",
                                                               "Men\xFC"
                                                               "punkt"}));
    const MenuNode& added = *Root().Child(2);
    ASSERT_NE(added.Item(), nullptr);
    EXPECT_EQ(added.Item()->Link, "");
    EXPECT_EQ(page->selectedNode(), &added);
    EXPECT_NE(Editor(added), nullptr);
    EXPECT_TRUE(document.Modified());
}

TEST_F(MenuTreePageTest, AddingAgainWhileEditingKeepsTheTypedCaptionAndEditsTheNewItem)
{
    Trigger(MenuTreePage::AddCommand);
    QLineEdit* editor = Editor(*Root().Child(0));
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Erster"));
    Trigger(MenuTreePage::AddCommand);
    ASSERT_EQ(Root().ChildCount(), 2u);
    EXPECT_EQ(Root().Child(0)->Caption(), "Erster");
    EXPECT_EQ(Editor(*Root().Child(0)), nullptr);
    EXPECT_NE(Editor(*Root().Child(1)), nullptr);
}

TEST_F(MenuTreePageTest, AddWithASecondLevelItemSelectedAppendsASibling)
{
    BuildTree();
    Select(*a1);
    Trigger(MenuTreePage::AddCommand);
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A1", "A2",
                                                           "Men\xFC"
                                                           "punkt"}));
    EXPECT_EQ(ChildCaptions(*a1), (std::vector<std::string>{"A11"}));
}

TEST_F(MenuTreePageTest, AddWithNothingSelectedAppendsATopLevelItem)
{
    BuildTree();
    view()->selectionModel()->clearSelection();
    page->PopupMenu1Popup();
    EXPECT_FALSE(page->popupAction(MenuTreePage::PopupSubMenu)->isEnabled());
    page->popupAction(MenuTreePage::PopupAdd)->trigger();
    EXPECT_EQ(Root().ChildCount(), 3u);
}

TEST_F(MenuTreePageTest, SubmenuAddsALastChildAndShowsIt)
{
    BuildTree();
    view()->collapse(indexOf(a));
    Select(*a);
    Trigger(MenuTreePage::SubMenuCommand);
    ASSERT_EQ(a->ChildCount(), 3u);
    const MenuNode& added = *a->Child(2);
    EXPECT_TRUE(view()->isExpanded(indexOf(a)));
    EXPECT_EQ(page->selectedNode(), &added);
    EXPECT_NE(Editor(added), nullptr);
    EXPECT_TRUE(document.Modified());

    Select(added);
    Trigger(MenuTreePage::SubMenuCommand);
    EXPECT_EQ(added.ChildCount(), 1u) << "no depth limit";
}

TEST_F(MenuTreePageTest, SelectionReportComesLaterAndFillsTheLinkFields)
{
    BuildTree();
    view()->setCurrentIndex(indexOf(a1));
    EXPECT_TRUE(page->selectionReportPending());
    EXPECT_TRUE(ItemControlsDisabled());
    WaitForSelectionReport();
    EXPECT_TRUE(ItemControlsEnabled());
    EXPECT_EQ(page->menulink()->text(), QStringLiteral("A1.htm"));
    EXPECT_EQ(page->linktarget()->text(), QStringLiteral("frameA1"));

    Select(Root());
    EXPECT_TRUE(ItemControlsDisabled());
    EXPECT_TRUE(page->menulink()->text().isEmpty());
    EXPECT_TRUE(page->linktarget()->text().isEmpty());
}

TEST_F(MenuTreePageTest, ContextMenuEnablingFollowsTheSelection)
{
    BuildTree();
    const auto itemEntriesEnabled = [this](bool enabled) {
        for (auto entry : {MenuTreePage::PopupSubMenu, MenuTreePage::PopupRename, MenuTreePage::PopupChangeLink,
                           MenuTreePage::PopupDelete})
            if (page->popupAction(entry)->isEnabled() != enabled)
                return false;
        return page->popupAction(MenuTreePage::PopupAdd)->isEnabled();
    };
    Select(Root());
    page->PopupMenu1Popup();
    EXPECT_EQ(page->CurrentNode(), &Root());
    EXPECT_TRUE(itemEntriesEnabled(false));
    Select(*a2);
    page->PopupMenu1Popup();
    EXPECT_EQ(page->CurrentNode(), a2);
    EXPECT_TRUE(itemEntriesEnabled(true));
}

TEST_F(MenuTreePageTest, ARightClickSelectsTheNodeUnderTheMouseAndOpensTheMenuForIt)
{
    BuildTree();
    Select(Root());
    const QPoint point = view()->visualRect(indexOf(a2)).center();
    MenuNode* current = nullptr;
    bool deleteEnabled = false;
    QTimer::singleShot(0, [&] {
        current = page->CurrentNode();
        deleteEnabled = page->popupAction(MenuTreePage::PopupDelete)->isEnabled();
        page->contextMenu()->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, view()->viewport()->mapToGlobal(point));
    QApplication::sendEvent(view()->viewport(), &event);
    EXPECT_EQ(current, a2);
    EXPECT_TRUE(deleteEnabled);
    EXPECT_EQ(page->selectedNode(), a2);
}

TEST_F(MenuTreePageTest, RenameAcceptsWithEnterAndCancelsWithEscape)
{
    BuildTree();
    Select(*a2);
    Trigger(MenuTreePage::RenameCommand);
    QLineEdit* editor = Editor(*a2);
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Neu"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(a2->Caption(), "A2");
    EXPECT_FALSE(document.Modified());

    Trigger(MenuTreePage::RenameCommand);
    editor = Editor(*a2);
    ASSERT_NE(editor, nullptr);
    PressReturn(editor);
    EXPECT_EQ(a2->Caption(), "A2");
    EXPECT_TRUE(document.Modified()) << "an accepted edit marks modified even without change";

    Trigger(MenuTreePage::RenameCommand);
    editor = Editor(*a2);
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Größe"));
    PressReturn(editor);
    EXPECT_EQ(a2->Caption(), "Gr\xF6\xDF"
                             "e");
}

TEST_F(MenuTreePageTest, TheRootCaptionCannotBeEdited)
{
    Select(Root());
    view()->edit(indexOf(&Root()));
    EXPECT_EQ(Editor(Root()), nullptr);
    page->TiRen();
    EXPECT_EQ(Editor(Root()), nullptr);
}

TEST_F(MenuTreePageTest, DeleteRemovesTheWholeSubtreeWithoutAsking)
{
    BuildTree();
    AddItem(*b, "B1");
    document.SetModified(false);
    Select(*a);
    Trigger(MenuTreePage::DeleteCommand);
    EXPECT_EQ(ChildCaptions(Root()), (std::vector<std::string>{"B"}));
    EXPECT_EQ(document.Tree().Count(), 3u);
    EXPECT_TRUE(document.Modified());
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(page->CurrentNode(), nullptr);
    WaitForSelectionReport();
    EXPECT_EQ(page->selectedNode(), b) << "the view selects the next item";
    EXPECT_EQ(page->menulink()->text(), QStringLiteral("B.htm"));
}

TEST_F(MenuTreePageTest, ApplyStoresTheLinkFieldsUnchanged)
{
    BuildTree();
    Select(*a1);
    page->menulink()->setText(QStringLiteral(" neu/seite.htm "));
    page->linktarget()->setText(QStringLiteral("_blank"));
    QTest::mouseClick(page->BitBtn1(), Qt::LeftButton);
    EXPECT_EQ(a1->Item()->Link, " neu/seite.htm ");
    EXPECT_EQ(a1->Item()->Target, "_blank");
    EXPECT_TRUE(document.Modified());

    page->menulink()->setText(QStringLiteral("kontext.htm"));
    page->PopupMenu1Popup();
    page->popupAction(MenuTreePage::PopupChangeLink)->trigger();
    EXPECT_EQ(a1->Item()->Link, "kontext.htm") << "the context menu's \"Ändern\" applies too";
}

TEST_F(MenuTreePageTest, TextNotAppliedIsKeptOnASelectionChange)
{
    BuildTree();
    Select(*a1);
    page->menulink()->setText(QStringLiteral("getippt.htm"));
    Select(*a2);
    EXPECT_EQ(page->menulink()->text(), QStringLiteral("A2.htm"));
    EXPECT_EQ(a1->Item()->Link, "getippt.htm") << "leaving the item applies what was typed";
    EXPECT_TRUE(document.Modified());

    document.SetModified(false);
    Select(*a1);
    EXPECT_FALSE(document.Modified()) << "nothing typed, nothing applied";
}

TEST_F(MenuTreePageTest, EnterInALinkFieldApplies)
{
    BuildTree();
    Select(*a1);
    for (QLineEdit* field : {page->menulink(), page->linktarget()}) {
        field->setText(QStringLiteral("enter"));
        QTest::keyClick(field, Qt::Key_Return);
    }
    EXPECT_EQ(a1->Item()->Link, "enter");
    EXPECT_EQ(a1->Item()->Target, "enter");
}

TEST_F(MenuTreePageTest, ChooseLinkFileMakesTheLinkRelativeToTheOutputFile)
{
    BuildTree();
    Select(*a1);
    outputFileName = QStringLiteral("C:\\web\\menu\\index.htm");
    dialogs.openAnswers = {QStringLiteral("C:\\web\\pages\\a.htm")};
    QTest::mouseClick(page->selecturl(), Qt::LeftButton);
    const std::vector<DialogCall> opened = dialogs.CallsOf(DialogCall::Open);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].filter, QStringLiteral("HTML (*.htm, *.html)|*.htm; *.html|Alle Dateien (*.*)|*.*"));
    EXPECT_EQ(opened[0].initialDir, QStringLiteral("C:\\web\\menu\\"));
    EXPECT_TRUE(opened[0].fileName.isEmpty());
    EXPECT_EQ(page->menulink()->text(), QStringLiteral("../pages/a.htm"));
    EXPECT_EQ(a1->Item()->Link, "A1.htm") << "the item changes only with \"Ändern\"";

    outputFileName = QStringLiteral("/srv/web/menu/index.htm");
    dialogs.openAnswers = {QStringLiteral("/srv/web/pages/b.htm")};
    page->Button3Click();
    EXPECT_EQ(page->menulink()->text(), QStringLiteral("../pages/b.htm"));

    outputFileName.clear();
    dialogs.openAnswers = {QStringLiteral("C:\\web\\pages\\a.htm")};
    page->Button3Click();
    EXPECT_EQ(page->menulink()->text(), QStringLiteral("a.htm"));

    outputFileName = QStringLiteral("index.htm");
    dialogs.openAnswers = {QStringLiteral("C:\\web\\pages\\a.htm")};
    page->Button3Click();
    EXPECT_EQ(page->menulink()->text(), QStringLiteral("C:/web/pages/a.htm"));

    dialogs.openAnswers = {shelltest::CancelOpen};
    page->Button3Click();
    EXPECT_EQ(page->menulink()->text(), QStringLiteral("C:/web/pages/a.htm")) << "cancel keeps the field";
    EXPECT_FALSE(document.Modified());
}

TEST_F(MenuTreePageTest, MoveModeDragAndDropThroughTheView)
{
    BuildTree();
    TMTItem* record = a1->Item();

    EXPECT_FALSE(DragOnto(*a1, *a11)) << "into its own subtree";
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A1", "A2"}));

    EXPECT_TRUE(DragOnto(*a1, *a1));
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A1", "A2"}));

    EXPECT_TRUE(DragOnto(*a1, *a));
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A2", "A1"}));

    view()->collapse(indexOf(b));
    EXPECT_TRUE(DragOnto(*a1, *b));
    EXPECT_EQ(ChildCaptions(*b), (std::vector<std::string>{"A1"}));
    EXPECT_EQ(ChildCaptions(*a1), (std::vector<std::string>{"A11"}));
    EXPECT_EQ(a1->Item(), record);
    EXPECT_TRUE(view()->isExpanded(indexOf(b))) << "the receiving node opens";
    EXPECT_EQ(page->selectedNode(), a1);

    EXPECT_TRUE(DragOnto(*a11, Root()));
    EXPECT_EQ(ChildCaptions(Root()), (std::vector<std::string>{"A", "B", "A11"}));
    EXPECT_TRUE(DragToEmptySpace(*a2));
    EXPECT_EQ(ChildCaptions(Root()), (std::vector<std::string>{"A", "B", "A11", "A2"}));

    EXPECT_FALSE(DragOnto(Root(), *a)) << "the root cannot be dragged";
    EXPECT_TRUE(document.Modified()) << "a drop is a change to save";
}

TEST_F(MenuTreePageTest, SortModeDragAndDropThroughTheView)
{
    BuildTree();
    AddItem(*a, "A3");
    document.SetModified(false);
    view()->expandAll();
    page->sortModeButton()->click();

    EXPECT_FALSE(DragOnto(*a2, *b)) << "another parent";
    EXPECT_FALSE(DragOnto(*a2, *a11));
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A1", "A2", "A3"}));

    EXPECT_TRUE(DragOnto(*a2, *a2));
    EXPECT_TRUE(DragOnto(*a1, *a2)) << "onto the following sibling";
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A1", "A2", "A3"}));

    EXPECT_TRUE(DragOnto(*a2, *a1));
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A2", "A1", "A3"}));

    EXPECT_TRUE(DragToEmptySpace(*a2));
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A1", "A3", "A2"}));
    EXPECT_EQ(ChildCaptions(*a1), (std::vector<std::string>{"A11"}));
    EXPECT_TRUE(document.Modified()) << "a drop is a change to save";
}

TEST_F(MenuTreePageTest, TheMouseDragsItemsButNotTheRoot)
{
    BuildTree();
    shelltest::PressAndDrag(*view(), view()->visualRect(indexOf(&Root())).center());
    EXPECT_EQ(page->CurrentNode(), nullptr);
    EXPECT_EQ(page->selectedNode(), &Root()) << "the nodes the mouse passed over are not selected";
    shelltest::PressAndDrag(*view(), view()->visualRect(indexOf(a2)).center());
    EXPECT_EQ(page->CurrentNode(), a2) << "the dragged node";
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A1", "A2"})) << "a drag without a drop changes nothing";
}

TEST_F(MenuTreePageTest, DropsOnlyDuringTheViewsOwnDrag)
{
    BuildTree();
    Select(*a2);
    EXPECT_FALSE(shelltest::SendDragEvents(*view(), view()->visualRect(indexOf(b)).center()));
    EXPECT_EQ(ChildCaptions(*a), (std::vector<std::string>{"A1", "A2"}));
    view()->beginDrag();
    EXPECT_TRUE(shelltest::SendDragEvents(*view(), view()->visualRect(indexOf(b)).center()));
    view()->endDrag({});
    EXPECT_EQ(ChildCaptions(*b), (std::vector<std::string>{"A2"}));
}

TEST_F(MenuTreePageTest, LongCaptionsScrollSidewaysInsteadOfBeingCutShort)
{
    BuildTree();
    EXPECT_GE(view()->visualRect(indexOf(b)).right(), view()->viewport()->width() - 1) << "the rows fill the view";
    const QString longCaption(60, QLatin1Char('x'));
    MenuNode& deep = AddItem(*a11, ToCp1252(longCaption));
    view()->expandAll();
    QScrollBar& sideways = *view()->horizontalScrollBar();
    EXPECT_TRUE(QTest::qWaitFor([&sideways] { return sideways.maximum() > 0; }, 2000));
    EXPECT_GE(view()->visualRect(indexOf(&deep)).width(), view()->fontMetrics().horizontalAdvance(longCaption));
    sideways.setValue(sideways.maximum());
    Select(deep);
    EXPECT_EQ(sideways.value(), sideways.maximum()) << "selecting keeps the caption in view";
    document.Tree().Delete(deep);
    EXPECT_TRUE(QTest::qWaitFor([&sideways] { return sideways.maximum() == 0; }, 2000));
}

// "*" opens the branches below the current item; a leaf marked open would
// cost the view as much as a branch, with nothing to show.
TEST_F(MenuTreePageTest, StarOpensEveryBranchBelowAndMarksNoLeaf)
{
    BuildTree();
    view()->collapseAll();
    Select(Root());
    QTest::keyClick(view(), Qt::Key_Asterisk);
    for (const MenuNode* branch : {&Root(), a, a1})
        EXPECT_TRUE(view()->isExpanded(indexOf(branch))) << branch->Caption();
    for (const MenuNode* leaf : {a11, a2, b})
        EXPECT_FALSE(view()->isExpanded(indexOf(leaf))) << leaf->Caption();
}

} // namespace
} // namespace tw
