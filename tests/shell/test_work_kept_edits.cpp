// What is typed into the window reaches the document, its history and the
// right file, whichever page is shown and whatever is typed.
#include "shell_test_support.h"
#include "support/test_support.h"
#include "test_menutree_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/qtcodec.h"
#include "inspector/gridtreeview.h"
#include "projectfiles/projectfiles.h"
#include "shell/documenteditor.h"
#include "shell/eventguard.h"
#include "shell/layoutpage.h"
#include "shell/mainform.h"
#include "shell/menutreemodel.h"
#include "shell/menutreepage.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <stdexcept>

namespace tw::shelltest {
namespace {

class EditsKeptTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        Form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
    }
    GridTreeView& Grid() { return *Form().layoutPage()->Controls().tree; }
    QLineEdit& LayoutEditor() { return *Form().layoutPage()->Controls().editor; }
    MenuTreePage& Tree() { return *Form().menuTreePage(); }
    void ShowLayoutPage()
    {
        Form().Pages()->setCurrentWidget(Form().SettingsPages());
        Form().SettingsPages()->setCurrentWidget(Form().layoutPage());
    }
    void ShowTreePage() { Form().Pages()->setCurrentWidget(Form().menuTreePage()); }
    void SelectLayoutRow(const QString& caption, const QString& group = {})
    {
        ShowLayoutPage();
        ClickLayoutRow(Grid(), caption, group);
    }
    MenuNode& AddSelectedItem(const std::string& caption)
    {
        MenuNode& item = Form().Editor().AddItem(Form().Document().Tree().Root(), caption);
        Tree().SelectNode(item);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !Tree().selectionReportPending(); }, 2000));
        return item;
    }
};

// Full-width digits passed the colour filter and the conversion threw out of
// the event loop, ending the program.
TEST_F(EditsKeptTest, DigitsThatAreNotAsciiAreRefusedInAColourRow)
{
    SelectLayoutRow(QStringLiteral("Text"), QStringLiteral("Farben"));
    const TColor before = Form().Document().GetColor(ciText);
    for (const QString& digits : {QStringLiteral("１２３４５６"), QStringLiteral("١٢٣٤٥٦")}) {
        LayoutEditor().setText(digits); // pasted
        QTest::keyClick(&LayoutEditor(), Qt::Key_Return);
        EXPECT_EQ(Form().Document().GetColor(ciText), before);
    }
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Message),
              (QStringList{QStringLiteral("Ungültiger Wert!"), QStringLiteral("Ungültiger Wert!")}));
    LayoutEditor().clear();
    for (const QString& typed : {QStringLiteral("１"), QStringLiteral("٢"), QStringLiteral("3")}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(&LayoutEditor(), &key);
    }
    EXPECT_EQ(LayoutEditor().text(), QStringLiteral("3")) << "typed ones are filtered";
}

TEST(EventGuardTest, AnEscapedErrorIsReportedInGermanAndDeliveryGoesOn)
{
    QString reported;
    const auto report = [&reported](const QString& text) { reported = text; };
    EXPECT_FALSE(DeliverGuarded([]() -> bool { throw std::runtime_error("Wert zu gro\xDF"); }, report));
    EXPECT_TRUE(reported.startsWith(QStringLiteral("Ein unerwarteter Fehler ist aufgetreten: Wert zu groß")));
    EXPECT_TRUE(DeliverGuarded([] { return true; }, report));
}

// A value typed without Enter was lost when another page was shown, and the
// hidden editor kept the old project's text after New.
TEST_F(EditsKeptTest, ALayoutValueTypedWithoutEnterSurvivesAnotherPage)
{
    SelectLayoutRow(QStringLiteral("Titel"));
    QTest::keyClicks(&LayoutEditor(), QStringLiteral("Unser Laden"));
    ShowTreePage();
    EXPECT_TRUE(SaveEnabled());
    dialogs_.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(Form().close());
    EXPECT_EQ(Form().Document().GetString(siTitle), "Unser Laden");

    dialogs_.answers.push_back(Answer::No);
    Form().CommandAction(Tmainform::cmdNew)->trigger();
    EXPECT_EQ(LayoutEditor().text(), QString()) << "the hidden editor shows the new project";
    ShowLayoutPage();
    QTest::keyClick(&LayoutEditor(), Qt::Key_Return);
    EXPECT_EQ(Form().Document().GetString(siTitle), "");
    EXPECT_FALSE(Form().Document().Modified());
    EXPECT_TRUE(dialogs_.Exhausted());
}

TEST_F(EditsKeptTest, UndoShowsTheValueInTheHiddenLayoutEditor)
{
    SelectLayoutRow(QStringLiteral("Titel"));
    QTest::keyClicks(&LayoutEditor(), QStringLiteral("Eins"));
    QTest::keyClick(&LayoutEditor(), Qt::Key_Return);
    ShowTreePage();
    QTest::keyClick(&Form(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form().Document().GetString(siTitle), "");
    EXPECT_EQ(LayoutEditor().text(), QString());
}

// The first undo put the focus into the hidden layout editor, whose own
// undo then took Ctrl+Z: the second step stayed, and typing went there.
TEST_F(EditsKeptTest, KeyboardUndoOfLayoutStepsGoesOnFromAnotherPage)
{
    SelectLayoutRow(QStringLiteral("Titel"));
    for (const QString& title : {QStringLiteral("Eins"), QStringLiteral("Zwei")}) {
        LayoutEditor().selectAll();
        QTest::keyClicks(&LayoutEditor(), title);
        QTest::keyClick(&LayoutEditor(), Qt::Key_Return);
    }
    ShowTreePage();
    Tree().treeView()->setFocus();
    for (int step = 0; step < 2; ++step)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form().Document().GetString(siTitle), "");
    EXPECT_FALSE(Form().isWindowModified());
    EXPECT_EQ(QApplication::focusWidget(), Tree().treeView());
}

// After a tab click the grid kept the focus: End then went to the last row.
TEST_F(EditsKeptTest, AClickOnTheSelectedRowsCaptionGoesIntoItsEditor)
{
    SelectLayoutRow(QStringLiteral("Titel"));
    ShowTreePage();
    QTabBar& tabs = *Form().Pages()->tabBar();
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(1).center());
    ASSERT_EQ(Form().SettingsPages()->currentWidget(), Form().layoutPage());
    const QModelIndex titel = Grid().currentIndex();
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Grid().RowRect(titel).topLeft() + QPoint(20, 3));
    EXPECT_EQ(QApplication::focusWidget(), &LayoutEditor());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_EQ(Grid().currentIndex(), titel);
}

// Ctrl+S did nothing while the only change was still in a field.
TEST_F(EditsKeptTest, CtrlSSavesALinkOrLayoutValueStillBeingTyped)
{
    MenuNode& item = AddSelectedItem("Start");
    Form().Editor().MarkSaved();
    ASSERT_FALSE(SaveEnabled());
    Tree().menulink()->setText(QStringLiteral("start.htm"));
    EXPECT_TRUE(SaveEnabled());
    dialogs_.saveAnswers.push_back({Path(QStringLiteral("p.twb")), 1});
    QTest::keyClick(Tree().menulink(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(item.Item()->Link, "start.htm");
    EXPECT_FALSE(SaveEnabled());

    SelectLayoutRow(QStringLiteral("Titel"));
    QTest::keyClicks(&LayoutEditor(), QStringLiteral("Neu"));
    QTest::keyClick(&LayoutEditor(), Qt::Key_S, Qt::ControlModifier);
    TqzHTML reloaded;
    int format = 0;
    test::RecordedMessages messages;
    ASSERT_TRUE(LoadProject(reloaded, ToCp1252(Path(QStringLiteral("p.twb"))), format, messages));
    EXPECT_EQ(reloaded.GetString(siTitle), "Neu");
    EXPECT_EQ(reloaded.Tree().Root().Child(0)->Item()->Link, "start.htm");
}

// Typing and deleting again left a step and a modified mark; the line-break
// replacement before a text save was no step at all.
TEST_F(EditsKeptTest, TheHistoryHoldsOnlyRealChanges)
{
    QTest::keyClicks(Form().efilename(), QStringLiteral("ab"));
    QTest::keyClick(Form().efilename(), Qt::Key_Backspace);
    QTest::keyClick(Form().efilename(), Qt::Key_Backspace);
    EXPECT_FALSE(Form().UndoAction()->isEnabled());
    EXPECT_FALSE(Form().Document().Modified());
    EXPECT_FALSE(Form().isWindowModified());

    MenuNode& item = Form().Editor().AddItem(Form().Document().Tree().Root(), "Zwei\r\nZeilen");
    dialogs_.answers.push_back(Answer::Yes);
    dialogs_.saveAnswers.push_back({Path(QStringLiteral("p.twf")), 3});
    Form().CommandAction(Tmainform::cmdSaveAs)->trigger();
    EXPECT_EQ(item.Caption(), "Zwei Zeilen");
    EXPECT_FALSE(Form().Document().Modified());
    Form().UndoAction()->trigger();
    EXPECT_EQ(item.Caption(), "Zwei\r\nZeilen");
    EXPECT_TRUE(Form().Document().Modified());
}

// "verein.twf" with the binary type became a binary file named .twf.
TEST_F(EditsKeptTest, TheExtensionDecidesTheFormat)
{
    EditSomething();
    dialogs_.saveAnswers.push_back({Path(QStringLiteral("verein.twf")), 1});
    Form().CommandAction(Tmainform::cmdSaveAs)->trigger();
    EXPECT_EQ(Form().ProjectFormat(), 3);
    EXPECT_TRUE(ReadTextFile(Path(QStringLiteral("verein.twf"))).startsWith("TWF 2"));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("verein.tws"))));
}

// A typed emoji is kept as a reference, which the tree and the grid showed raw.
TEST_F(EditsKeptTest, CharacterReferencesAreShownAsTheCharacters)
{
    const QString ball = QString::fromUtf8("Fu\xC3\x9F"
                                           "ball \xE2\x9A\xBD");
    MenuNode& item = AddSelectedItem("x");
    Form().Editor().RenameItem(item, ball);
    EXPECT_EQ(item.Caption(), "Fu\xDF"
                              "ball &#9917;");
    const QModelIndex index = Tree().model()->indexOf(&item);
    EXPECT_EQ(index.data(Qt::DisplayRole).toString(), ball);
    Form().Editor().RenameItem(item, QStringLiteral("&#65; bleibt"));
    EXPECT_EQ(index.data(Qt::DisplayRole).toString(), QStringLiteral("&#65; bleibt"));

    SelectLayoutRow(QStringLiteral("Titel"));
    LayoutEditor().setText(ball);
    QTest::keyClick(&LayoutEditor(), Qt::Key_Return);
    EXPECT_EQ(Form().Document().GetString(siTitle), "Fu\xDF"
                                                    "ball &#9917;");
    SelectLayoutRow(QStringLiteral("Trennlinie"));
    SelectLayoutRow(QStringLiteral("Titel"));
    EXPECT_EQ(LayoutEditor().text(), ball);
    EXPECT_EQ(ShownTitle(Form()), QStringLiteral("*Treeweaver"));
}

// Paths the code page cannot hold were written with "?" in their place.
TEST_F(EditsKeptTest, PathsOutsideTheCodePageAreUsedOrRefusedNeverMangled)
{
    EditSomething();
    dialogs_.saveAnswers.push_back({Path(QStringLiteral("Plan→B.twb")), 1});
    Form().CommandAction(Tmainform::cmdSaveAs)->trigger();
    EXPECT_TRUE(QDir(Path(QString())).entryList({QStringLiteral("Plan*")}).isEmpty());
    ASSERT_EQ(dialogs_.CallsOf(DialogCall::Message).size(), 1u);
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).front().contains(QStringLiteral("„→“")));
    EXPECT_TRUE(Form().Document().Modified());

    QDir().mkpath(Path(QStringLiteral("łódź")));
    dialogs_.saveAnswers.push_back({Path(QStringLiteral("łódź/plan.twf")), 3});
    Form().CommandAction(Tmainform::cmdSaveAs)->trigger();
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("łódź/plan.twv"))));
    EXPECT_EQ(ShownTitle(Form()), QStringLiteral("plan.twf - Treeweaver"));
    Form().CommandAction(Tmainform::cmdNew)->trigger();
    dialogs_.openAnswers.push_back(Path(QStringLiteral("łódź/plan.twf")));
    Form().CommandAction(Tmainform::cmdOpen)->trigger();
    EXPECT_EQ(Form().Document().GetFileSetting(fsFilename), ToCp1252(Path(QStringLiteral("index.htm"))));

    Form().efilename()->setText(Path(QStringLiteral("菜单→/menu.htm")));
    EXPECT_EQ(Form().efilename()->text(), Path(QStringLiteral("index.htm")));
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).last().contains(QStringLiteral("„菜单→“")));
    EXPECT_TRUE(dialogs_.Exhausted());
}

} // namespace
} // namespace tw::shelltest
