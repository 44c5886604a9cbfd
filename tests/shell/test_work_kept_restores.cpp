// Restoring and reloading never take the project the window holds: a
// recovery copy or a file on disk that does not load is reported instead.
#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "shell/documenteditor.h"
#include "shell/mainform.h"
#include "shell/project.h"
#include "shell/projectquestions.h"
#include "shell/recoveryfiles.h"
#include "shell/recoverykeeper.h"

#include <QAction>
#include <QTest>

namespace tw::shelltest {
namespace {

class RestoresTest : public MainFormTest {
protected:
    // A project with one item, saved under name.
    void SaveProjectWithItem(const QString& name, int format)
    {
        Form().Editor().AddItem(Form().Document().Tree().Root(), "Eins");
        dialogs_.saveAnswers.push_back({Path(name), format});
        Form().CommandAction(Tmainform::cmdSaveAs)->trigger();
        ASSERT_EQ(Form().ProjectFileName(), Path(name));
    }
    std::size_t Questions() const { return dialogs_.CallsOf(DialogCall::Confirm).size(); }
};

// A program that ended without removing its copy, in folder.
void LeaveCopy(const QString& folder, const RecoveryCopy& copy)
{
    const RecoveryFiles ended(folder);
    ASSERT_EQ(ended.Write(copy), QString());
}

TEST(RecoveryFilesTest, ACopyOfAnEndedProgramIsNeverTakenForOnesOwn)
{
    // Process ids repeat (containers, restarts): one process stands for both.
    QTemporaryDir folder;
    LeaveCopy(folder.path(), {QStringLiteral("/tmp/a.twb"), 1, QDateTime::currentDateTime(), {}, "x"});
    const RecoveryFiles next(folder.path());
    next.Remove();
    ASSERT_EQ(next.LeftBehind().size(), 1u);
    EXPECT_EQ(next.LeftBehind().front().copy.fileName, QStringLiteral("/tmp/a.twb"));
}

TEST_F(RestoresTest, AnUnreadableCopyIsReportedAndTheOpenProjectStays)
{
    SaveProjectWithItem(QStringLiteral("p.twb"), 1);
    QTemporaryDir folder;
    // A binary project of a version this program cannot read.
    LeaveCopy(folder.path(),
              {Path(QStringLiteral("p.twb")), 1, QDateTime::currentDateTime(), {}, std::string("\x03TWB\x02\x00", 6)});
    Form().CurrentProject().KeepRecoveryCopies(folder.path(), RecoveryKeeper::DefaultIntervalMs, {});
    dialogs_.choices = {0};
    EXPECT_FALSE(Form().Questions().OfferRecovery());
    EXPECT_EQ(Form().Document().Tree().Root().ChildCount(), 1u);
    EXPECT_FALSE(Form().Document().Modified());
    ASSERT_EQ(dialogs_.TextsOf(DialogCall::Message).size(), 1u);
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message)
                    .front()
                    .startsWith(QStringLiteral("Die Wiederherstellungskopie konnte nicht gelesen werden")));
    // Kept, to be offered again.
    EXPECT_EQ(Form().CurrentProject().LeftBehind().size(), 1u);
}

TEST_F(RestoresTest, ASpoiltFileIsNotReloadedOverTheProject)
{
    SaveProjectWithItem(QStringLiteral("e.twb"), 1);
    dialogs_.answers = {Answer::Yes};
    WriteTextFile(Path(QStringLiteral("e.twb")), "kein Projekt\r\n");
    ASSERT_TRUE(QTest::qWaitFor([this] { return Questions() == 1; }, 5000));
    EXPECT_EQ(Form().Document().Tree().Root().ChildCount(), 1u);
    EXPECT_EQ(Form().ProjectFileName(), Path(QStringLiteral("e.twb")));
    EXPECT_TRUE(Form().Document().Modified()) << "the one good copy can be saved";
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Message),
              QStringList{QStringLiteral("Die Datei \"e.twb\" konnte nicht neu geladen werden; das geöffnete Projekt "
                                         "bleibt, wie es ist.\ne.twb: Die Datei ist keine Treeweaver-Projektdatei.")});
}

TEST_F(RestoresTest, TheSettingsAndVariablesFilesOfATextProjectAreWatchedToo)
{
    SaveProjectWithItem(QStringLiteral("p.twf"), 3);
    for (const QString& side : {QStringLiteral("p.tws"), QStringLiteral("p.twv")}) {
        const std::size_t asked = Questions();
        dialogs_.answers = {Answer::No};
        WriteTextFile(Path(side), ReadTextFile(Path(side)) + "Anders=1\r\n");
        ASSERT_TRUE(QTest::qWaitFor([&] { return Questions() == asked + 1; }, 5000)) << side.toStdString();
        EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm).back(),
                  QStringLiteral("Die Datei \"p.twf\" wurde von einem anderen Programm geändert. Soll sie neu "
                                 "geladen werden?"));
    }
    // Declined: saving over the change still asks.
    const QByteArray theirs = ReadTextFile(Path(QStringLiteral("p.twv")));
    EditSomething();
    dialogs_.choices = {2};
    Form().CommandAction(Tmainform::cmdSave)->trigger();
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Choose).size(), 1u);
    EXPECT_EQ(ReadTextFile(Path(QStringLiteral("p.twv"))), theirs);
}

} // namespace
} // namespace tw::shelltest
