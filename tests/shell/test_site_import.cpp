#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "guibase/qtcodec.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTreeView>

namespace tw::shelltest {
namespace {

const QString ChangesQuestion = QStringLiteral("Möchten Sie die Änderungen speichern?");

using SiteImportTest = MainFormTest;

TEST_F(SiteImportTest, AsksAboutChangesThenMakesANewProjectOfTheSitesMenu)
{
    ASSERT_TRUE(Form().menuTreePage()->contextMenu()->actions().contains(Form().ImportAction()));
    EditSomething();
    dialogs_.answers = {Answer::Cancel};
    Form().ImportAction()->trigger();
    EXPECT_TRUE(dialogs_.CallsOf(DialogCall::ImportSource).empty());
    EXPECT_FALSE(Form().Document().GetFileSetting(fsFilename).empty());

    dialogs_.answers = {Answer::No};
    dialogs_.importSourceAnswers = {QStringLiteral(TW_EXAMPLES_DIR "/site")};
    Form().ImportAction()->trigger();

    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm), (QStringList{ChangesQuestion, ChangesQuestion}));
    EXPECT_TRUE(dialogs_.Exhausted());
    EXPECT_TRUE(dialogs_.CallsOf(DialogCall::Message).empty());
    const MenuNode& root = Form().Document().Tree().Root();
    ASSERT_EQ(root.ChildCount(), 6u);
    EXPECT_EQ(root.Child(0)->Caption(), "Willkommen in der G\xE4rtnerei Lindenhof");
    EXPECT_EQ(root.Child(4)->Child(1)->Item()->Link, "pflanzen/rosen.html");
    EXPECT_EQ(Form().menuTreePage()->model()->rowCount(Form().menuTreePage()->model()->indexOf(&root)), 6);
    EXPECT_TRUE(Form().menuTreePage()->treeView()->isExpanded(Form().menuTreePage()->model()->indexOf(&root)));
    // A new, unnamed project that is not saved yet, without steps to undo.
    EXPECT_EQ(root.Caption(), UntitledCaption);
    EXPECT_EQ(Form().Document().GetFileSetting(fsFilename), "");
    EXPECT_TRUE(Form().ProjectFileName().isEmpty());
    EXPECT_EQ(Form().windowTitle(), QStringLiteral("Treeweaver"));
    EXPECT_TRUE(Form().Document().Modified());
    EXPECT_TRUE(SaveEnabled());
    EXPECT_FALSE(Form().UndoAction()->isEnabled());
}

TEST_F(SiteImportTest, AFailedImportLeavesTheProjectAsItWas)
{
    EditSomething();
    const QString empty = Path(QStringLiteral("leer"));
    ASSERT_TRUE(QDir().mkpath(empty));
    dialogs_.answers = {Answer::No};
    dialogs_.importSourceAnswers = {empty};
    Form().ImportAction()->trigger();

    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Message),
              QStringList{QStringLiteral("Im Ordner ") + empty + QStringLiteral(" wurden keine Seiten gefunden.")});
    EXPECT_EQ(Form().Document().GetFileSetting(fsFilename), ToCp1252(Path(QStringLiteral("index.htm"))));
    EXPECT_TRUE(Form().Document().Modified());
}

} // namespace
} // namespace tw::shelltest
