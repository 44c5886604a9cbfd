#include "document/qzhtml.h"
#include "shell/documenteditor.h"
#include "shell/editorparts.h"
#include "shell/variablespage.h"
#include "shell/varlistmodel.h"
#include "shell/vlistdlg.h"
#include "shell_test_support.h"
#include "test_menutree_support.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace tw {
namespace {

using shelltest::DialogCall;
using shelltest::ScriptedDialogs;
using shelltest::WhenTheDialogShows;

class VariablesPageTest : public ::testing::Test {
protected:
    VariablesPageTest()
    {
        page = std::make_unique<VariablesPage>(editor, dialogs);
        page->resize(460, 300);
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }

    TParseList& Variables() { return document.Variables(); }
    // Titel = "Start", Farbe (template, "rot" CR LF "blau"), Breite
    void AddThree()
    {
        Variables().AddVariable("Titel", "Start", false);
        Variables().AddVariable("Farbe", "rot\r\nblau", true);
        Variables().AddVariable("Breite", "", false);
        document.SetModified(false);
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (std::size_t row = 0; row < Variables().Count(); ++row)
            names.push_back(Variables().Caption(row));
        return names;
    }
    QString Cell(int row, int column) const { return page->model()->index(row, column).data().toString(); }
    void SelectRow(int row) { page->listView()->setCurrentIndex(page->model()->index(row, 0)); }
    QAction* Tool(VariablesPage::Command command) const { return page->toolbarAction(command); }
    QPoint PointOfRow(int row) const { return page->listView()->visualRect(page->model()->index(row, 0)).center(); }

    ScriptedDialogs dialogs;
    TqzHTML document;
    DocumentEditor editor{document};
    std::unique_ptr<VariablesPage> page;
};

TEST_F(VariablesPageTest, AddNamesRowsUniquelyAndLeavesThemUnselected)
{
    Tool(VariablesPage::AddCommand)->trigger();
    EXPECT_EQ(Cell(0, 0), QStringLiteral("Variable"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("(Leer)"));
    EXPECT_TRUE(document.Modified());
    page->popupAction(VariablesPage::AddCommand)->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Variable", "Variable2"}));
    EXPECT_FALSE(page->selectedRow().has_value());
    EXPECT_EQ(Variables().Data(1).Value, "");
    EXPECT_FALSE(Variables().Data(1).FromTemplate);

    SelectRow(0);
    Tool(VariablesPage::DeleteCommand)->trigger();
    page->liadd();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Variable2", "Variable"}));
}

TEST_F(VariablesPageTest, ToolbarEnablingFollowsTheSelectedRow)
{
    AddThree();
    EXPECT_TRUE(Tool(VariablesPage::AddCommand)->isEnabled());
    EXPECT_FALSE(Tool(VariablesPage::ChangeCommand)->isEnabled());
    EXPECT_FALSE(Tool(VariablesPage::DeleteCommand)->isEnabled());

    SelectRow(0);
    EXPECT_TRUE(Tool(VariablesPage::ChangeCommand)->isEnabled());
    EXPECT_TRUE(Tool(VariablesPage::DeleteCommand)->isEnabled());
    SelectRow(1);
    EXPECT_TRUE(Tool(VariablesPage::ChangeCommand)->isEnabled());
    EXPECT_FALSE(Tool(VariablesPage::DeleteCommand)->isEnabled()) << "template variables are kept";

    Variables().SetFromTemplate(1, false);
    page->reselectCurrent();
    EXPECT_TRUE(Tool(VariablesPage::DeleteCommand)->isEnabled());

    page->afterOpen();
    EXPECT_FALSE(Tool(VariablesPage::ChangeCommand)->isEnabled());
    EXPECT_FALSE(Tool(VariablesPage::DeleteCommand)->isEnabled());

    page->listView()->clearSelection();
    EXPECT_FALSE(Tool(VariablesPage::ChangeCommand)->isEnabled());
}

TEST_F(VariablesPageTest, TheContextMenuDeletesTemplateVariablesToo)
{
    AddThree();
    page->listView()->clearSelection();
    page->PopupMenu2Popup();
    EXPECT_TRUE(page->popupAction(VariablesPage::AddCommand)->isEnabled());
    EXPECT_FALSE(page->popupAction(VariablesPage::ChangeCommand)->isEnabled());
    EXPECT_FALSE(page->popupAction(VariablesPage::DeleteCommand)->isEnabled());

    SelectRow(1);
    page->PopupMenu2Popup();
    EXPECT_EQ(page->CurrentVariable(), 1);
    EXPECT_TRUE(page->popupAction(VariablesPage::ChangeCommand)->isEnabled());
    ASSERT_TRUE(page->popupAction(VariablesPage::DeleteCommand)->isEnabled());
    page->popupAction(VariablesPage::DeleteCommand)->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Titel", "Breite"}));
    EXPECT_TRUE(document.Modified());
    EXPECT_TRUE(dialogs.calls.empty()) << "deleting asks nothing";
}

TEST_F(VariablesPageTest, MultiLineValuesShowTheirFirstLineAndTemplateNamesAreBold)
{
    AddThree();
    EXPECT_EQ(Cell(0, 1), QStringLiteral("Start"));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("rot"));
    EXPECT_EQ(Cell(2, 1), QStringLiteral("(Leer)"));
    const auto fontOf = [this](int row, int column) {
        return page->model()->index(row, column).data(Qt::FontRole).value<QFont>();
    };
    EXPECT_TRUE(fontOf(1, 0).bold());
    EXPECT_FALSE(fontOf(1, 1).bold());
    EXPECT_FALSE(fontOf(0, 0).bold());
    EXPECT_EQ(page->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Variable"));
    EXPECT_EQ(page->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Wert"));
}

TEST_F(VariablesPageTest, ChangeRenamesAndStoresTheValueLines)
{
    AddThree();
    SelectRow(0);
    WhenTheDialogShows([](Tvlistform& form) {
        EXPECT_FALSE(form.nameEdit()->isReadOnly());
        EXPECT_EQ(form.nameEdit()->text(), QStringLiteral("Titel"));
        form.nameEdit()->setText(QStringLiteral("$Kopf$"));
        form.valueEdit()->setPlainText(QStringLiteral("erste\nzweite"));
        form.okButton()->click();
    });
    Tool(VariablesPage::ChangeCommand)->trigger();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Kopf", "Farbe", "Breite"}));
    EXPECT_EQ(Variables().Data(0).Value, "erste\r\nzweite");
    EXPECT_EQ(Cell(0, 1), QStringLiteral("erste"));
    EXPECT_TRUE(document.Modified());

    WhenTheDialogShows([](Tvlistform& form) {
        form.clearButton()->click();
        form.okButton()->click();
    });
    page->lichange();
    EXPECT_EQ(Variables().Data(0).Value, "");
    EXPECT_EQ(Cell(0, 1), QStringLiteral("(Leer)"));
}

TEST_F(VariablesPageTest, ChangeRefusesTheNameOfARowAbove)
{
    AddThree();
    SelectRow(2);
    WhenTheDialogShows([](Tvlistform& form) {
        form.nameEdit()->setText(QStringLiteral("titel"));
        form.okButton()->click();
        EXPECT_TRUE(form.isVisible());
        form.cancelButton()->click();
    });
    Tool(VariablesPage::ChangeCommand)->trigger();
    EXPECT_EQ(dialogs.TextsOf(DialogCall::Message), QStringList{QStringLiteral("Variablenname bereits vorhanden")});
    EXPECT_EQ(Names(), (std::vector<std::string>{"Titel", "Farbe", "Breite"}));
    EXPECT_FALSE(document.Modified());
}

TEST_F(VariablesPageTest, ATemplateVariableKeepsItsNameAndMark)
{
    AddThree();
    SelectRow(1);
    WhenTheDialogShows([](Tvlistform& form) {
        EXPECT_TRUE(form.nameEdit()->isReadOnly());
        EXPECT_EQ(form.valueEdit()->toPlainText(), QStringLiteral("rot\nblau"));
        form.valueEdit()->setPlainText(QStringLiteral("gelb"));
        form.okButton()->click();
    });
    Tool(VariablesPage::ChangeCommand)->trigger();
    EXPECT_EQ(Variables().Caption(1), "Farbe");
    EXPECT_EQ(Variables().Data(1).Value, "gelb");
    EXPECT_TRUE(Variables().Data(1).FromTemplate);
}

TEST_F(VariablesPageTest, DraggingTheLastRowOntoTheFirstPutsItFirst)
{
    AddThree();
    Variables().SetFromTemplate(1, false);
    Variables().SetFromTemplate(2, true);
    Variables().SetValue(2, "100");
    Variables().SetDisplayText(2, "100");
    SelectRow(2);
    EXPECT_TRUE(shelltest::DragSelectionTo(*page->listView(), PointOfRow(0)));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Breite", "Titel", "Farbe"}));
    EXPECT_EQ(Variables().Data(0).Value, "100");
    EXPECT_TRUE(Variables().Data(0).FromTemplate);
    EXPECT_EQ(Cell(0, 1), QStringLiteral("100"));
    EXPECT_EQ(page->selectedRow(), 0);
    EXPECT_EQ(page->listView()->currentIndex().row(), 0);
    EXPECT_TRUE(document.Modified());
}

TEST_F(VariablesPageTest, DroppingOnItselfOrTheRowBelowKeepsTheOrder)
{
    AddThree();
    SelectRow(0);
    EXPECT_TRUE(shelltest::DragSelectionTo(*page->listView(), PointOfRow(0)));
    SelectRow(0);
    EXPECT_TRUE(shelltest::DragSelectionTo(*page->listView(), PointOfRow(1)));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Titel", "Farbe", "Breite"}));
    EXPECT_EQ(Variables().Data(1).Value, "rot\r\nblau");
    EXPECT_EQ(Cell(1, 1), QStringLiteral("rot"));
}

TEST_F(VariablesPageTest, ReleasingBelowTheRowsOrOutsideMovesToTheEnd)
{
    AddThree();
    SelectRow(0);
    const QPoint belowTheRows(20, page->listView()->viewport()->height() - 4);
    ASSERT_FALSE(page->listView()->indexAt(belowTheRows).isValid());
    EXPECT_TRUE(shelltest::DragSelectionTo(*page->listView(), belowTheRows));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Farbe", "Breite", "Titel"}));

    // released beside the list: the drag loop ends without a drop
    SelectRow(0);
    page->listView()->beginDrag();
    page->listView()->endDrag(QPoint(-50, PointOfRow(2).y() + 400));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Breite", "Titel", "Farbe"}));
}

TEST_F(VariablesPageTest, TheMouseDragsARowAndTheDragEndsWhereTheCursorIs)
{
    AddThree();
    // The drag ends where the pointer is. Only the offscreen platform's
    // pointer is set here: on a real display it is the user's.
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "would move the pointer of the display";
    QCursor::setPos(page->listView()->viewport()->mapToGlobal(PointOfRow(2)));
    shelltest::PressAndDrag(*page->listView(), PointOfRow(0));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Farbe", "Titel", "Breite"}));
}

TEST_F(VariablesPageTest, ColumnsKeepTheirWidthsAndHeadersIgnoreClicks)
{
    EXPECT_EQ(page->columnWidths().name, 100);
    EXPECT_EQ(page->columnWidths().value, 320);
    page->setColumnWidths(80, 250);
    EXPECT_EQ(page->columnWidths().name, 80);
    EXPECT_EQ(page->columnWidths().value, 250);
    EXPECT_FALSE(page->listView()->header()->sectionsClickable());
    EXPECT_EQ(page->listView()->selectionBehavior(), QAbstractItemView::SelectRows);
}

} // namespace
} // namespace tw
