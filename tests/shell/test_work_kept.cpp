// The ways a user could lose work in the window, each now keeping it.
#include "shell_test_support.h"
#include "test_menutree_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "shell/documenteditor.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/passingnotice.h"
#include "shell/stalefilesquestion.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QToolButton>

namespace tw::shelltest {
namespace {

class WorkKeptTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        Form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
    }
    MenuTreePage& Tree() { return *Form().menuTreePage(); }
    MenuNode& Root() { return Form().Document().Tree().Root(); }
    // Adds a top-level item and types its caption, leaving the editor open.
    QLineEdit* AddItemTyping(const QString& caption)
    {
        Tree().toolbarAction(MenuTreePage::AddCommand)->trigger();
        DragTreeView& view = *Tree().treeView();
        auto* editor = qobject_cast<QLineEdit*>(view.indexWidget(view.currentIndex()));
        EXPECT_NE(editor, nullptr);
        editor->selectAll();
        editor->insert(caption);
        return editor;
    }
    void AddItem(const QString& caption)
    {
        QTest::keyClick(AddItemTyping(caption), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    void Select(const MenuNode& node)
    {
        Tree().treeView()->setCurrentIndex(Tree().model()->indexOf(&node));
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Tree().selectionReportPending(); }, 2000));
    }
    bool CloseAccepted()
    {
        QCloseEvent event;
        QCoreApplication::sendEvent(&Form(), &event);
        return event.isAccepted();
    }
};

TEST_F(WorkKeptTest, TabEndsTheEditOfThisCaptionOnly)
{
    AddItem(QStringLiteral("Start"));
    Select(*Root().Child(0));
    QTest::keyClick(AddItemTyping(QStringLiteral("Vorstand")), Qt::Key_Tab);
    QCoreApplication::processEvents();
    DragTreeView& view = *Tree().treeView();
    EXPECT_EQ(view.indexWidget(view.currentIndex()), nullptr) << "no editor opened on another item";
    QTest::keyClicks(Tree().treeView(), QStringLiteral("x"));
    EXPECT_EQ(ChildCaptions(Root()), (std::vector<std::string>{"Start", "Vorstand"}));
}

TEST_F(WorkKeptTest, ClosingAfterADropAsks)
{
    AddItem(QStringLiteral("A"));
    AddItem(QStringLiteral("B"));
    Form().Editor().MarkSaved();
    Tree().sortModeButton()->click();
    DragTreeView& view = *Tree().treeView();
    view.setCurrentIndex(Tree().model()->indexOf(Root().Child(1)));
    ASSERT_TRUE(DragSelectionTo(view, view.visualRect(Tree().model()->indexOf(Root().Child(0))).center()));
    EXPECT_EQ(ChildCaptions(Root()), (std::vector<std::string>{"B", "A"}));
    EXPECT_TRUE(SaveEnabled());
    dialogs_.answers.push_back(Answer::Cancel);
    EXPECT_FALSE(CloseAccepted());
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm),
              QStringList{QStringLiteral("Möchten Sie die Änderungen speichern?")});
}

TEST_F(WorkKeptTest, ADeletedSubtreeComesBackFromTheContextMenu)
{
    AddItem(QStringLiteral("Vorstand"));
    Select(*Root().Child(0));
    Tree().toolbarAction(MenuTreePage::SubMenuCommand)->trigger();
    QTest::keyClick(Tree().treeView()->indexWidget(Tree().treeView()->currentIndex()), Qt::Key_Return);
    QCoreApplication::processEvents();
    Form().Editor().MarkSaved();
    Select(*Root().Child(0));
    Tree().toolbarAction(MenuTreePage::DeleteCommand)->trigger();
    EXPECT_EQ(Root().ChildCount(), 0u);

    const QList<QAction*> entries = Tree().contextMenu()->actions();
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("Rückgängig: Löschen von „Vorstand“"));
    entries[0]->trigger();
    ASSERT_EQ(ChildCaptions(Root()), std::vector<std::string>{"Vorstand"});
    EXPECT_EQ(ChildCaptions(*Root().Child(0)), std::vector<std::string>{"Men\xFCpunkt"});
    EXPECT_FALSE(SaveEnabled()) << "back at the saved state";
    EXPECT_EQ(entries[1]->text(), QStringLiteral("Wiederholen: Löschen von „Vorstand“"));
    EXPECT_EQ(Tree().selectedNode(), Root().Child(0)) << "the restored item is shown";

    // Ctrl+Z and Ctrl+Y reach the history from the window.
    QTest::keyClick(&Form(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Root().ChildCount(), 0u);
    EXPECT_EQ(Tree().selectedNode(), &Root());
    QTest::keyClick(&Form(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Root().ChildCount(), 1u);
}

TEST_F(WorkKeptTest, NewAndOpenStartAnEmptyHistory)
{
    AddItem(QStringLiteral("A"));
    dialogs_.answers.push_back(Answer::No);
    Form().CommandAction(Tmainform::cmdNew)->trigger();
    EXPECT_FALSE(Form().UndoAction()->isEnabled());
    EXPECT_FALSE(SaveEnabled());
}

TEST_F(WorkKeptTest, ACaptionOutsideTheCodePageIsKeptAsAReferenceAndToldOnce)
{
    AddItem(QStringLiteral("Start →"));
    AddItem(QStringLiteral("Ziel →"));
    EXPECT_EQ(ChildCaptions(Root()), (std::vector<std::string>{"Start &#8594;", "Ziel &#8594;"}));
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Message).size(), 1u);
}

} // namespace
} // namespace tw::shelltest

namespace tw::shelltest {
namespace {

TEST_F(ShellTest, APositionOffTheScreenLeavesTheWindowFullyOnIt)
{
    {
        QSettings settings(QSettings::UserScope, QStringLiteral("Vellmark Software"), QStringLiteral("Treeweaver"));
        settings.setValue(QStringLiteral("FormSettings/Left"), 5000);
        settings.setValue(QStringLiteral("FormSettings/Top"), -300);
    }
    ScriptedDialogs dialogs;
    RecordingOpener opener;
    QTemporaryDir programDir;
    Tmainform form(dialogs, opener, programDir.path());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(QRect(form.pos(), form.size())));
}

class OutputPlaceTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetTemplatesDirectory({}); // the shipped template sets
    }
    // A saved project "project/p.twb" with one item, the template set
    // "Komplett" and the given output file name.
    void SaveProjectWith(const QString& outputFile)
    {
        MenuTree& tree = Form().Document().Tree();
        Form().Document().CreateItemData(tree.AddChild(tree.Root(), "A"));
        Form().efilename()->setText(outputFile);
        Form().SelectTemplate(QStringLiteral("Komplett"));
        QDir().mkpath(Path(QStringLiteral("project")));
        saveAnswers_ = {Path(QStringLiteral("project/p.twb")), 1};
        dialogs_.saveAnswers.push_back(saveAnswers_);
        Form().CommandAction(Tmainform::cmdSaveAs)->trigger();
    }
    SaveChoice saveAnswers_;
};

TEST_F(OutputPlaceTest, ARelativeOutputFileLandsBesideTheProjectAndIsConfirmed)
{
    SaveProjectWith(QStringLiteral("menu.htm"));
    Form().CommandAction(Tmainform::cmdGenerate)->trigger();
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("project/menu.htm"))));
    EXPECT_EQ(Form().LastNotice(), QStringLiteral("1 Datei erstellt in „") +
                                       QDir::toNativeSeparators(Path(QStringLiteral("project"))) + QStringLiteral("“"));
}

TEST_F(OutputPlaceTest, AMissingOutputFolderIsOfferedAndMade)
{
    SaveProjectWith(QStringLiteral("site/menu.htm"));
    dialogs_.answers.push_back(Answer::No);
    Form().CommandAction(Tmainform::cmdGenerate)->trigger();
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("project/site"))));
    dialogs_.answers.push_back(Answer::Yes);
    Form().CommandAction(Tmainform::cmdGenerate)->trigger();
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("project/site/menu.htm"))));
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm).last(),
              QStringLiteral("Der Ordner „") + QDir::toNativeSeparators(Path(QStringLiteral("project/site"))) +
                  QStringLiteral("“ existiert nicht. Soll er angelegt werden?"));
}

// Qt's own tooltip went as soon as the window became active again after the
// question had closed.
TEST_F(OutputPlaceTest, TheConfirmationOutlastsTheWindowsActivationAfterAQuestion)
{
    Form().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
    SaveProjectWith(QStringLiteral("site/menu.htm"));
    dialogs_.answers.push_back(Answer::Yes);
    Form().CommandAction(Tmainform::cmdGenerate)->trigger();
    // What the window manager sends once the message box has closed.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&Form(), &activate);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&Form(), &focusIn);
    QTest::qWait(300);

    const PassingNotice& notice = *Form().Notice();
    EXPECT_TRUE(notice.isVisible());
    EXPECT_EQ(notice.text().remove(QChar(0x200B)), Form().LastNotice());
    EXPECT_TRUE(Form().rect().contains(notice.geometry()));
    EXPECT_TRUE(QTest::qWaitFor([&notice] { return !notice.isVisible(); }, 6000));
}

TEST_F(OutputPlaceTest, StaleSubmenuFilesAreListedAndDeletedOnlyOnJa)
{
    SaveProjectWith(QStringLiteral("menu.htm"));
    QStringList stale;
    for (int i = 1; i <= StaleFilesNamed + 2; ++i)
        stale.append(QStringLiteral("Child") + QString::number(i) + QStringLiteral(",1.htm"));
    const QStringList alike{QStringLiteral("child1.htm"), QStringLiteral("Child1.html"), QStringLiteral("Child01.htm")};
    for (const QString& name : stale + alike)
        WriteTextFile(Path(QStringLiteral("project/") + name), "alt");
    const QString folder = QDir::toNativeSeparators(Path(QStringLiteral("project")));

    dialogs_.answers.push_back(Answer::No);
    Form().CommandAction(Tmainform::cmdGenerate)->trigger();
    ASSERT_EQ(dialogs_.CallsOf(DialogCall::ConfirmDeletion).size(), 1u);
    const DialogCall question = dialogs_.CallsOf(DialogCall::ConfirmDeletion).front();
    EXPECT_EQ(question.text, QStringLiteral("Im Ordner „") + folder +
                                 QStringLiteral("“ liegen 12 veraltete Untermenü-Dateien, die nicht mehr zum Menü "
                                                "gehören:\n\n") +
                                 stale.mid(0, StaleFilesNamed).join(QLatin1Char('\n')) +
                                 QStringLiteral("\nund 2 weitere\n\nSollen sie gelöscht werden?"));
    EXPECT_EQ(question.details, stale.join(QLatin1Char('\n')));
    for (const QString& name : stale + alike)
        EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("project/") + name))) << name.toStdString();
    EXPECT_EQ(Form().LastNotice(), QStringLiteral("1 Datei erstellt in „") + folder + QStringLiteral("“"));

    dialogs_.answers.push_back(Answer::Yes);
    Form().CommandAction(Tmainform::cmdGenerate)->trigger();
    EXPECT_EQ(QDir(Path(QStringLiteral("project"))).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("Child01.htm"), QStringLiteral("Child1.html"), QStringLiteral("child1.htm"),
                           QStringLiteral("menu.htm"), QStringLiteral("p.twb")}));
    Form().CommandAction(Tmainform::cmdGenerate)->trigger();
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::ConfirmDeletion).size(), 2u);
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty());
}

TEST(StaleFilesQuestionTest, OneFileIsAskedAboutInTheSingular)
{
    const StaleFilesQuestion question = AskToDeleteStaleFiles(QStringLiteral("/web"), {"/web/Child2.htm"});
    EXPECT_EQ(question.text, QStringLiteral("Im Ordner „") + QDir::toNativeSeparators(QStringLiteral("/web")) +
                                 QStringLiteral("“ liegt 1 veraltete Untermenü-Datei, die nicht mehr zum Menü "
                                                "gehört:\n\nChild2.htm\n\nSoll sie gelöscht werden?"));
    EXPECT_TRUE(question.details.isEmpty());
}

} // namespace
} // namespace tw::shelltest
