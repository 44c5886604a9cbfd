#include "shell_test_support.h"
#include "support/test_support.h"

#include "document/qzhtml.h"
#include "guibase/qtcodec.h"
#include "projectfiles/projectfiles.h"
#include "shell/mainform.h"
#include "shell/projectfilenames.h"

#include <QAction>
#include <QFileInfo>
#include <QLineEdit>

namespace tw::shelltest {
namespace {

const QString ChangesQuestion = QStringLiteral("Möchten Sie die Änderungen speichern?");
const QString DeepQuestion = QStringLiteral("Diese Datei enthält mehr Ebenen, als es das verwendete Format erlaubt. "
                                            "Wollen Sie die Datei in einem anderen Format speichern?");

QString OverwriteQuestion(const QString& name)
{
    return QStringLiteral("Soll die bereits existierende Datei \"") + name + QStringLiteral("\" überschrieben werden?");
}

// The format a saved project file is read back as (0 when it does not load).
int SavedFormat(const QString& path)
{
    TqzHTML document;
    int format = 0;
    test::RecordedMessages messages;
    return LoadProject(document, ToCp1252(path), format, messages) ? format : 0;
}

class LifecycleTest : public MainFormTest {
protected:
    // Saves the document through Save As, so that it has a project file.
    void SaveAs(const QString& name, int format)
    {
        dialogs_.saveAnswers.push_back(SaveChoice{Path(name), format});
        Form().SaveAsClick();
    }
};

TEST_F(LifecycleTest, NothingIsAskedWhileTheDocumentIsUnchanged)
{
    Form().NewClick();
    dialogs_.openAnswers.push_back(CancelOpen);
    Form().OpenClick();
    EXPECT_TRUE(Form().close());
    EXPECT_TRUE(dialogs_.CallsOf(DialogCall::Confirm).empty());
}

TEST_F(LifecycleTest, NewWithCancelKeepsTheDocument)
{
    EditSomething();
    dialogs_.answers = {Answer::Cancel};
    Form().NewClick();
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm), QStringList{ChangesQuestion});
    EXPECT_TRUE(dialogs_.CallsOf(DialogCall::Confirm)[0].cancellable);
    EXPECT_EQ(Form().Document().GetFileSetting(fsFilename), ToCp1252(Path(QStringLiteral("index.htm"))));
    EXPECT_TRUE(Form().Document().Modified());
}

TEST_F(LifecycleTest, NewWithNoDiscardsTheChanges)
{
    EditSomething();
    dialogs_.answers = {Answer::No};
    Form().NewClick();
    EXPECT_EQ(Form().Document().GetFileSetting(fsFilename), "");
    EXPECT_EQ(Form().efilename()->text(), QString());
    EXPECT_FALSE(Form().Document().Modified());
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(ShownTitle(Form()), QStringLiteral("Treeweaver"));
}

TEST_F(LifecycleTest, NewWithYesAndNoFileNameSavesThroughSaveAs)
{
    EditSomething();
    dialogs_.answers = {Answer::Yes};
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("neu.twb")), 1});
    Form().NewClick();
    const auto saves = dialogs_.CallsOf(DialogCall::Save);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].filter, ProjectSaveFilter);
    EXPECT_EQ(saves[0].filterIndex, 1);
    EXPECT_EQ(saves[0].defaultSuffix, QStringLiteral("twb"));
    EXPECT_TRUE(saves[0].followsFileType);
    EXPECT_EQ(SavedFormat(Path(QStringLiteral("neu.twb"))), 1);
    // New went ahead after the save.
    EXPECT_EQ(Form().Document().GetFileSetting(fsFilename), "");
    EXPECT_EQ(Form().ProjectFileName(), QString());
}

TEST_F(LifecycleTest, NewWithYesButCancelledSaveDialogKeepsTheDocument)
{
    EditSomething();
    dialogs_.answers = {Answer::Yes};
    dialogs_.saveAnswers.push_back(CancelSave);
    Form().NewClick();
    EXPECT_TRUE(Form().Document().Modified());
    EXPECT_NE(Form().Document().GetFileSetting(fsFilename), "");
}

TEST_F(LifecycleTest, QuestionNamesTheProjectFileAndYesSavesInPlace)
{
    EditSomething();
    SaveAs(QStringLiteral("menu.twf"), 3);
    EditSomething(QStringLiteral("anders.htm"));
    dialogs_.answers = {Answer::Yes};
    dialogs_.openAnswers.push_back(CancelOpen);
    Form().OpenClick();
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm),
              QStringList{QStringLiteral("Möchten Sie Änderungen in \"menu.twf\" speichern?")});
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Save).size(), 1u); // only the first Save As
    EXPECT_FALSE(Form().Document().Modified());
    EXPECT_TRUE(ReadTextFile(Path(QStringLiteral("menu.tws"))).contains("anders.htm"));
}

TEST_F(LifecycleTest, OpenWithCancelShowsNoDialog)
{
    EditSomething();
    dialogs_.answers = {Answer::Cancel};
    Form().OpenClick();
    EXPECT_TRUE(dialogs_.CallsOf(DialogCall::Open).empty());
}

TEST_F(LifecycleTest, CloseAsksAndCancelKeepsTheWindowOpen)
{
    EditSomething();
    dialogs_.answers = {Answer::Cancel};
    EXPECT_FALSE(Form().close());
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm), QStringList{ChangesQuestion});
    EXPECT_EQ(Form().Document().Tree().Count(), 1u);

    MakeDeepTree();
    dialogs_.answers = {Answer::No};
    EXPECT_TRUE(Form().close());
    // Closing deletes every item below the root.
    EXPECT_EQ(Form().Document().Tree().Count(), 1u);
}

// Only "Nein" to the save question leaves the work: declining another
// format or cancelling the save dialog keeps the window and the project.
TEST_F(LifecycleTest, CloseWithYesThenDecliningTheSaveKeepsTheWindow)
{
    EditSomething();
    SaveAs(QStringLiteral("menu.twf"), 3);
    const QByteArray before = ReadTextFile(Path(QStringLiteral("menu.twf")));
    MakeDeepTree();
    dialogs_.answers = {Answer::Yes, Answer::No};
    EXPECT_FALSE(Form().close());
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm),
              (QStringList{QStringLiteral("Möchten Sie Änderungen in \"menu.twf\" speichern?"), DeepQuestion}));
    EXPECT_EQ(ReadTextFile(Path(QStringLiteral("menu.twf"))), before);

    dialogs_.answers = {Answer::Yes, Answer::Yes};
    dialogs_.saveAnswers.push_back(CancelSave);
    EXPECT_FALSE(Form().close());
    dialogs_.answers = {Answer::Yes, Answer::Yes};
    dialogs_.saveAnswers.push_back(CancelSave);
    Form().CommandAction(Tmainform::cmdNew)->trigger();
    EXPECT_GT(Form().Document().Tree().Count(), 1u) << "New kept the work";
    EXPECT_TRUE(Form().Document().Modified());
}

TEST_F(LifecycleTest, DeepTreeInTextFormatAsksUntilBinaryV11IsChosen)
{
    EditSomething();
    SaveAs(QStringLiteral("menu.twf"), 3);
    MakeDeepTree();
    dialogs_.answers = {Answer::Yes, Answer::Yes};
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("menu.twb")), 2});
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("menu.twb")), 1});
    Form().SaveClick();

    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm), (QStringList{DeepQuestion, DeepQuestion}));
    const auto saves = dialogs_.CallsOf(DialogCall::Save);
    ASSERT_EQ(saves.size(), 3u);
    // The dialog proposes the binary name and type 1.
    EXPECT_EQ(saves[1].fileName, Path(QStringLiteral("menu.twb")));
    EXPECT_EQ(saves[1].filterIndex, 1);
    EXPECT_EQ(SavedFormat(Path(QStringLiteral("menu.twb"))), 1);
    EXPECT_EQ(Form().ProjectFileName(), Path(QStringLiteral("menu.twb")));
    EXPECT_EQ(Form().ProjectFormat(), 1);
    EXPECT_EQ(ShownTitle(Form()), QStringLiteral("menu.twb - Treeweaver"));
    EXPECT_FALSE(SaveEnabled());
    EXPECT_TRUE(dialogs_.Exhausted());
}

TEST_F(LifecycleTest, DeclinedDeepLevelQuestionSavesNothing)
{
    EditSomething();
    SaveAs(QStringLiteral("menu.twf"), 3);
    MakeDeepTree();
    dialogs_.answers = {Answer::No};
    Form().SaveClick();
    EXPECT_TRUE(Form().Document().Modified());
    EXPECT_TRUE(SaveEnabled());
    EXPECT_EQ(Form().ProjectFormat(), 3);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("menu.twb"))));
}

TEST_F(LifecycleTest, LineBreaksAreReplacedForTheTextFormatOnlyAfterAsking)
{
    MenuTree& tree = Form().Document().Tree();
    MenuNode& item = tree.AddChild(tree.Root(), "Zeile 1\r\nZeile 2");
    Form().Document().CreateItemData(item);
    const QString question = QStringLiteral("Der Menüpunkt \"Zeile 1 Zeile 2\" enthält einen Zeilenumbruch, den das "
                                            "Textformat nicht speichern kann. Sollen alle Zeilenumbrüche in "
                                            "Menüpunkten und Variablen durch Leerzeichen ersetzt werden?");
    dialogs_.answers = {Answer::No};
    SaveAs(QStringLiteral("menu.twf"), 3);
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm), QStringList{question});
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("menu.twf"))));
    EXPECT_EQ(item.Caption(), "Zeile 1\r\nZeile 2");

    dialogs_.answers = {Answer::Yes};
    SaveAs(QStringLiteral("menu.twf"), 3);
    EXPECT_EQ(item.Caption(), "Zeile 1 Zeile 2");
    EXPECT_EQ(Form().ProjectFileName(), Path(QStringLiteral("menu.twf")));
    TqzHTML reloaded;
    int format = 0;
    test::RecordedMessages messages;
    ASSERT_TRUE(LoadProject(reloaded, ToCp1252(Path(QStringLiteral("menu.twf"))), format, messages));
    ASSERT_EQ(reloaded.Tree().Root().ChildCount(), 1u);
    EXPECT_EQ(reloaded.Tree().Root().Child(0)->Caption(), "Zeile 1 Zeile 2");

    // A menu file named like a side file is refused with a message, even
    // when the user agreed to replace the existing side file.
    dialogs_.answers = {Answer::Yes};
    SaveAs(QStringLiteral("menu.tws"), 3);
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Message).back(),
              QStringLiteral("menu.tws: Die Endungen .tws und .twv gehören zu den Begleitdateien des Textformats; "
                             "bitte eine andere Endung wählen."));
    EXPECT_EQ(Form().ProjectFileName(), Path(QStringLiteral("menu.twf")));
    EXPECT_TRUE(dialogs_.Exhausted());
}

TEST_F(LifecycleTest, OverwriteIsAskedOnlyForAnotherExistingFile)
{
    EditSomething();
    WriteTextFile(Path(QStringLiteral("alt.twb")), "alt");
    dialogs_.answers = {Answer::No};
    SaveAs(QStringLiteral("alt.twb"), 1);
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm), QStringList{OverwriteQuestion(QStringLiteral("alt.twb"))});
    EXPECT_EQ(ReadTextFile(Path(QStringLiteral("alt.twb"))), QByteArray("alt"));
    EXPECT_EQ(Form().ProjectFileName(), QString());
    EXPECT_EQ(ShownTitle(Form()), QStringLiteral("*Treeweaver"));

    dialogs_.answers = {Answer::Yes};
    SaveAs(QStringLiteral("alt.twb"), 1);
    EXPECT_EQ(SavedFormat(Path(QStringLiteral("alt.twb"))), 1);
    EXPECT_EQ(ShownTitle(Form()), QStringLiteral("alt.twb - Treeweaver"));

    // Saving to the current project file never asks.
    dialogs_.calls.clear();
    EditSomething(QStringLiteral("zwei.htm"));
    Form().SaveClick();
    EXPECT_TRUE(dialogs_.calls.empty());
    EXPECT_FALSE(Form().Document().Modified());

    // In the deep-level loop the current name is no "other" file; its
    // extension keeps it a text file, so the question comes again.
    WriteTextFile(Path(QStringLiteral("tief.twf")), "");
    dialogs_.answers = {Answer::Yes};
    SaveAs(QStringLiteral("tief.twf"), 3);
    MakeDeepTree();
    dialogs_.calls.clear();
    dialogs_.answers = {Answer::Yes, Answer::Yes};
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("tief.twf")), 1});
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("tief.twb")), 1});
    Form().SaveClick();
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm), (QStringList{DeepQuestion, DeepQuestion}));
    EXPECT_EQ(SavedFormat(Path(QStringLiteral("tief.twb"))), 1);
    EXPECT_TRUE(ReadTextFile(Path(QStringLiteral("tief.twf"))).startsWith("TWF"));
}

TEST_F(LifecycleTest, SaveWithoutProjectFileRunsSaveAs)
{
    EditSomething();
    dialogs_.saveAnswers.push_back(CancelSave);
    Form().SaveClick();
    ASSERT_EQ(dialogs_.CallsOf(DialogCall::Save).size(), 1u);
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(LifecycleTest, SaveIsEnabledExactlyWhileModified)
{
    EXPECT_FALSE(SaveEnabled());
    const qint64 disabledImage = Form().CommandAction(Tmainform::cmdSave)->icon().cacheKey();
    EditSomething();
    EXPECT_TRUE(SaveEnabled());
    EXPECT_NE(Form().CommandAction(Tmainform::cmdSave)->icon().cacheKey(), disabledImage);
    SaveAs(QStringLiteral("menu.twb"), 1);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(Form().CommandAction(Tmainform::cmdSave)->icon().cacheKey(), disabledImage);
    Form().feedit()->setText(QStringLiteral(".html"));
    EXPECT_TRUE(SaveEnabled());
    EXPECT_EQ(Form().Document().GetFileSetting(fsFileExt), ".html");
}

TEST_F(LifecycleTest, OpenShowsTheProjectAndItsFileName)
{
    EditSomething();
    Form().feedit()->setText(QStringLiteral("php"));
    SaveAs(QStringLiteral("projekt.twf"), 3);
    dialogs_.answers = {Answer::No};
    EditSomething(QStringLiteral("weg.htm"));
    Form().NewClick();

    dialogs_.openAnswers.push_back(Path(QStringLiteral("projekt.twf")));
    Form().OpenClick();
    const auto opens = dialogs_.CallsOf(DialogCall::Open);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].filter, ProjectOpenFilter);
    EXPECT_EQ(opens[0].initialDir, QString()); // New left no project file
    EXPECT_EQ(opens[0].fileName, QString());
    EXPECT_EQ(ShownTitle(Form()), QStringLiteral("projekt.twf - Treeweaver"));
    EXPECT_EQ(Form().ProjectFormat(), 3);
    EXPECT_EQ(Form().efilename()->text(), Path(QStringLiteral("index.htm")));
    EXPECT_EQ(Form().feedit()->text(), QStringLiteral("php"));
    EXPECT_FALSE(Form().Document().Modified());
    EXPECT_FALSE(SaveEnabled());

    dialogs_.openAnswers.push_back(CancelOpen);
    Form().OpenClick();
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Open)[1].initialDir, dir_.path() + QLatin1Char('/'));
}

TEST_F(LifecycleTest, FailedLoadShowsTheErrorAndTheFileNameInTheCaption)
{
    WriteTextFile(Path(QStringLiteral("kaputt.twb")), QByteArray("\x01\x02 kein Projekt", 15));
    dialogs_.openAnswers.push_back(Path(QStringLiteral("kaputt.twb")));
    Form().OpenClick();
    const QStringList messages = dialogs_.TextsOf(DialogCall::Message);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("kaputt.twb: "))) << messages[0].toStdString();
    EXPECT_EQ(ShownTitle(Form()), QStringLiteral("kaputt.twb - Treeweaver"));
    EXPECT_EQ(Form().ProjectFileName(), Path(QStringLiteral("kaputt.twb")));
}

// A project file that failed to load is not replaced unasked by what was read.
TEST_F(LifecycleTest, SavingOverAFileThatFailedToLoadAsksFirst)
{
    const QByteArray broken("\x01\x02 kein Projekt", 15);
    WriteTextFile(Path(QStringLiteral("kaputt.twb")), broken);
    dialogs_.openAnswers.push_back(Path(QStringLiteral("kaputt.twb")));
    Form().OpenClick();
    EditSomething();
    dialogs_.calls.clear();

    dialogs_.answers = {Answer::No};
    Form().SaveClick();
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm), QStringList{OverwriteQuestion(QStringLiteral("kaputt.twb"))});
    EXPECT_EQ(ReadTextFile(Path(QStringLiteral("kaputt.twb"))), broken);

    // Closing: "&Ja" to saving, "&Nein" to replacing keeps the window open.
    dialogs_.answers = {Answer::Yes, Answer::No};
    EXPECT_FALSE(Form().close());
    EXPECT_EQ(ReadTextFile(Path(QStringLiteral("kaputt.twb"))), broken);

    dialogs_.answers = {Answer::Yes};
    Form().SaveClick();
    EXPECT_EQ(SavedFormat(Path(QStringLiteral("kaputt.twb"))), Form().ProjectFormat());
    // Once replaced, the file is the project's own again.
    dialogs_.calls.clear();
    EditSomething(QStringLiteral("zwei.htm"));
    Form().SaveClick();
    EXPECT_TRUE(dialogs_.calls.empty());
}

// The pending action may not go ahead (a cancelled open dialog): the caption
// names the file saved while asking, whether Save As chose it or the
// deep-level question led to it.
TEST_F(LifecycleTest, CaptionFollowsTheFileChosenWhileAskingAboutChanges)
{
    const auto openWithYesAndCancel = [this](const QString& saveTo) {
        dialogs_.saveAnswers.push_back(SaveChoice{Path(saveTo), 1});
        dialogs_.openAnswers.push_back(CancelOpen);
        Form().OpenClick();
        EXPECT_EQ(SavedFormat(Path(saveTo)), 1);
        EXPECT_EQ(Form().ProjectFileName(), Path(saveTo));
        EXPECT_EQ(ShownTitle(Form()), saveTo + QStringLiteral(" - Treeweaver"));
        EXPECT_TRUE(dialogs_.Exhausted());
    };
    EditSomething();
    dialogs_.answers = {Answer::Yes};
    openWithYesAndCancel(QStringLiteral("erst.twb"));

    SaveAs(QStringLiteral("menu.twf"), 3);
    MakeDeepTree();
    dialogs_.answers = {Answer::Yes, Answer::Yes};
    openWithYesAndCancel(QStringLiteral("tief.twb"));
}

TEST_F(LifecycleTest, DurchsuchenNeverOffersTheProjectFileItself)
{
    EditSomething();
    SaveAs(QStringLiteral("menu.twf"), 3);
    Form().efilename()->clear();
    // Without an output file the dialog offers the project's name as HTML,
    // never the project file, which a generation would overwrite.
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("site/index.htm")), 1});
    Form().Button2Click();
    const auto saves = dialogs_.CallsOf(DialogCall::Save);
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(saves[1].filter, HtmlSaveFilter);
    EXPECT_EQ(saves[1].defaultSuffix, QStringLiteral("htm"));
    EXPECT_FALSE(saves[1].followsFileType);
    EXPECT_EQ(saves[1].fileName, Path(QStringLiteral("menu.htm")));
    EXPECT_EQ(saves[1].filterIndex, 3);
    EXPECT_EQ(Form().efilename()->text(), Path(QStringLiteral("site/index.htm")));
    EXPECT_EQ(Form().Document().GetFileSetting(fsFilename), ToCp1252(Path(QStringLiteral("site/index.htm"))));
    EXPECT_TRUE(Form().Document().Modified());
    // With an output file set, the dialog starts from it.
    dialogs_.saveAnswers.push_back(CancelSave);
    Form().Button2Click();
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Save).back().fileName, Path(QStringLiteral("site/index.htm")));
}

TEST_F(LifecycleTest, GenerateWithoutFileNameAndOpenMenuBeforeGenerating)
{
    Form().CommandAction(Tmainform::cmdGenerate)->trigger();
    Form().CommandAction(Tmainform::cmdOpenMenu)->trigger();
    EditSomething();
    Form().CommandAction(Tmainform::cmdOpenMenu)->trigger();
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Message),
              (QStringList{QStringLiteral("Kein Dateiname zum Speichern angegeben"),
                           QStringLiteral("Kein Dateiname zum Speichern angegeben"),
                           QStringLiteral("Es wurde noch kein Menü erstellt!")}));
}

// The template set's rows are part of the opened project: undoing the first
// edit leaves them unsaved.
TEST_F(LifecycleTest, RowsTheTemplateAddsOnOpeningStayUnsavedAfterAnUndo)
{
    TqzHTML project;
    project.SetFileSetting(fsTemplate, "simple");
    test::RecordedMessages messages;
    ASSERT_TRUE(SaveProject(project, ToCp1252(Path(QStringLiteral("p.twb"))), 1, messages));
    Form().OpenProject(Path(QStringLiteral("p.twb")));
    ASSERT_EQ(Form().Document().Variables().Count(), 2u);
    EditSomething();
    Form().UndoAction()->trigger();
    EXPECT_TRUE(Form().Document().Modified());
    EXPECT_TRUE(SaveEnabled());
    EXPECT_EQ(ShownTitle(Form()), QStringLiteral("p.twb* - Treeweaver"));
}

TEST_F(LifecycleTest, AValueOnSeveralLinesIsJoinedForTheTextFormatOnlyAfterAsking)
{
    Form().Document().Variables().AddVariable("Fuss", "Zeile 1\r\nZeile 2", false);
    dialogs_.answers = {Answer::No};
    SaveAs(QStringLiteral("menu.twf"), 3);
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm),
              QStringList{QStringLiteral("Der Wert der Variable \"Fuss\" enthält einen Zeilenumbruch, den das "
                                         "Textformat nicht speichern kann. Sollen alle Zeilenumbrüche in "
                                         "Menüpunkten und Variablen durch Leerzeichen ersetzt werden?")});
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("menu.twf"))));

    dialogs_.answers = {Answer::Yes};
    SaveAs(QStringLiteral("menu.twf"), 3);
    EXPECT_EQ(Form().Document().Variables().Data(0).Value, "Zeile 1 Zeile 2");
    EXPECT_FALSE(Form().Document().Modified());
}

} // namespace
} // namespace tw::shelltest
