// The project survives what happens around the window: a second start, a
// file changed by another program, and the program being killed.
#include "shell_test_support.h"
#include "support/test_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/qtcodec.h"
#include "projectfiles/projectfiles.h"
#include "shell/mainform.h"
#include "shell/project.h"
#include "shell/projectquestions.h"
#include "shell/recoverykeeper.h"
#include "shell/singleinstance.h"
#include "shell/terminationsignals.h"
#include "shell/windowstart.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTest>

#include <cstdio>

namespace tw::shelltest {
namespace {

const QString Example = QStringLiteral(TW_EXAMPLES_DIR "/lindenhof.twf");

class SessionsTest : public MainFormTest {
protected:
    // A second start of the real program with the given arguments, handing
    // over to this window.
    void StartSecond(const QStringList& arguments)
    {
        QProcess second;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        second.setProcessEnvironment(environment);
        second.start(QStringLiteral(TW_WINDOW_PROGRAM), arguments);
        ASSERT_TRUE(second.waitForStarted(10000));
        const QDeadlineTimer deadline(15000);
        while (second.state() != QProcess::NotRunning && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
        QTest::qWait(300); // the window takes the project after the signal
    }
    std::unique_ptr<SessionServer> Listen()
    {
        qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
        lock_ = std::make_unique<SessionLock>(SessionServerName());
        qunsetenv("XDG_RUNTIME_DIR");
        EXPECT_TRUE(lock_->Take());
        return std::make_unique<SessionServer>(*lock_, Form());
    }
    void SaveAs(const QString& name)
    {
        dialogs_.saveAnswers.push_back({Path(name), 1});
        Form().CommandAction(Tmainform::cmdSaveAs)->trigger();
        ASSERT_EQ(Form().ProjectFileName(), Path(name));
    }
    // Another program writes the project file.
    void WriteElsewhere(const QString& name, const std::string& title)
    {
        TqzHTML other;
        other.SetString(siTitle, title);
        test::RecordedMessages messages;
        ASSERT_TRUE(SaveProject(other, ToCp1252(Path(name)), 1, messages));
    }

    QTemporaryDir runtime_;
    std::unique_ptr<SessionLock> lock_;
};

// The question was opened inside the socket's signal, and the socket was
// gone when it returned: the window crashed while the user read it.
TEST_F(SessionsTest, ASecondStartWaitsForTheAnswerWithoutCrashing)
{
    const auto server = Listen();
    EditSomething();
    dialogs_.whileAsking = [] { QTest::qWait(1500); };
    dialogs_.answers = {Answer::No};
    StartSecond({Example});
    EXPECT_TRUE(QTest::qWaitFor([this] { return Form().ProjectFileName() == Example; }, 10000));
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Confirm).size(), 1u);
    EXPECT_EQ(Form().Document().Tree().Count(), 11u);
}

// A missing file replaced the open project with an empty one.
TEST_F(SessionsTest, ASecondStartWithAMissingFileKeepsTheProject)
{
    const auto server = Listen();
    EditSomething();
    StartSecond({Path(QStringLiteral("fehlt.twb"))});
    EXPECT_TRUE(Form().ProjectFileName().isEmpty());
    EXPECT_TRUE(Form().Document().Modified());
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Message),
              QStringList{QStringLiteral("Die Datei \"fehlt.twb\" gibt es nicht; das Projekt bleibt geöffnet.")});
}

TEST_F(SessionsTest, SavingOverAFileChangedElsewhereAsksFirst)
{
    EditSomething();
    SaveAs(QStringLiteral("p.twb"));
    WriteElsewhere(QStringLiteral("p.twb"), "Von au\xDF"
                                            "en");
    const QByteArray theirs = ReadTextFile(Path(QStringLiteral("p.twb")));
    EditSomething(QStringLiteral("neu.htm"));

    dialogs_.choices = {2};
    Form().CommandAction(Tmainform::cmdSave)->trigger();
    EXPECT_EQ(ReadTextFile(Path(QStringLiteral("p.twb"))), theirs);
    EXPECT_TRUE(Form().Document().Modified());

    dialogs_.choices = {1};
    dialogs_.saveAnswers.push_back({Path(QStringLiteral("meins.twb")), 1});
    Form().CommandAction(Tmainform::cmdSave)->trigger();
    EXPECT_EQ(ReadTextFile(Path(QStringLiteral("p.twb"))), theirs);
    EXPECT_EQ(Form().ProjectFileName(), Path(QStringLiteral("meins.twb")));
    EXPECT_FALSE(Form().Document().Modified());
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Choose).front().startsWith(QStringLiteral("Die Datei \"p.twb\" wurde")));
}

TEST_F(SessionsTest, AChangeOnDiskIsAnnouncedAndReloadedOnYes)
{
    const auto questions = [this] { return dialogs_.CallsOf(DialogCall::Confirm).size(); };
    EditSomething();
    SaveAs(QStringLiteral("p.twb"));
    dialogs_.answers = {Answer::No};
    WriteElsewhere(QStringLiteral("p.twb"), "Von au\xDF"
                                            "en");
    ASSERT_TRUE(QTest::qWaitFor([&] { return questions() == 1; }, 5000));
    EXPECT_EQ(dialogs_.TextsOf(DialogCall::Confirm).front(),
              QStringLiteral("Die Datei \"p.twb\" wurde von einem anderen Programm geändert. Soll sie neu geladen "
                             "werden?"));
    EXPECT_EQ(Form().Document().GetString(siTitle), "");
    // Declining the reload does not make saving over the change silent.
    EditSomething(QStringLiteral("neu.htm"));
    dialogs_.choices = {0};
    Form().CommandAction(Tmainform::cmdSave)->trigger();
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Choose).size(), 1u);
    EXPECT_FALSE(Form().Document().Modified());

    dialogs_.answers = {Answer::Yes};
    WriteElsewhere(QStringLiteral("p.twb"), "Zweimal");
    ASSERT_TRUE(QTest::qWaitFor([&] { return questions() == 2; }, 5000));
    EXPECT_EQ(Form().Document().GetString(siTitle), "Zweimal");
    EXPECT_FALSE(Form().Document().Modified());
    EXPECT_TRUE(dialogs_.Exhausted());
}

// The other half of the recovery test below: a program with unsaved work
// that the test ends from outside. It runs only when started so.
TEST_F(SessionsTest, RecoveryChild)
{
    const QString folder = qEnvironmentVariable("TW_RECOVERY_CHILD");
    if (folder.isEmpty())
        GTEST_SKIP() << "started by the recovery test only";
    Project& project = Form().CurrentProject();
    project.KeepRecoveryCopies(folder, qEnvironmentVariableIntValue("TW_RECOVERY_INTERVAL"), {});
    const TerminationSignals terminationSignals([&project] { project.WriteRecoveryNow(); });
    dialogs_.saveAnswers.push_back({qEnvironmentVariable("TW_RECOVERY_PROJECT"), 1});
    Form().efilename()->setText(QStringLiteral("alt.htm"));
    Form().CommandAction(Tmainform::cmdSaveAs)->trigger();
    Form().efilename()->setText(QStringLiteral("neu.htm"));
    QTest::qWait(500);
    std::printf("bereit\n");
    std::fflush(stdout);
    for (;;)
        QTest::qWait(100);
}

// kill -9 after the periodic copy, or SIGTERM before it: the next start
// offers the work, and never the copy of a program still running.
TEST_F(SessionsTest, UnsavedWorkIsOfferedAfterTheProgramWasEnded)
{
    for (const bool kill : {true, false}) {
        QTemporaryDir folder;
        const QString project = Path(kill ? QStringLiteral("verein.twb") : QStringLiteral("club.twb"));
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TW_RECOVERY_CHILD"), folder.path());
        environment.insert(QStringLiteral("TW_RECOVERY_INTERVAL"),
                           kill ? QStringLiteral("50") : QStringLiteral("600000"));
        environment.insert(QStringLiteral("TW_RECOVERY_PROJECT"), project);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=SessionsTest.RecoveryChild")});
        const QDeadlineTimer deadline(20000);
        QByteArray output;
        while (!output.contains("bereit") && !deadline.hasExpired()) {
            child.waitForReadyRead(200);
            output += child.readAllStandardOutput();
        }
        ASSERT_TRUE(output.contains("bereit")) << output.toStdString();

        dialogs_.calls.clear();
        Form().CurrentProject().KeepRecoveryCopies(folder.path(), RecoveryKeeper::DefaultIntervalMs, {});
        EXPECT_FALSE(Form().Questions().OfferRecovery());
        EXPECT_TRUE(dialogs_.CallsOf(DialogCall::Choose).empty()) << "the child still runs";

        if (kill)
            child.kill();
        else
            child.terminate();
        ASSERT_TRUE(child.waitForFinished(10000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

        // Another program saves the project after the copy was made.
        if (kill)
            WriteElsewhere(QFileInfo(project).fileName(), "Sp\xE4ter gespeichert");
        const QByteArray theirs = ReadTextFile(project);

        // Started as the desktop entry starts it, with the project named: the
        // restored work is not opened over (a question would fail here).
        dialogs_.choices = {0};
        StartWork(Form(), kill ? project : QString());
        ASSERT_EQ(dialogs_.CallsOf(DialogCall::Choose).size(), 1u);
        const DialogCall offer = dialogs_.CallsOf(DialogCall::Choose).front();
        EXPECT_TRUE(offer.text.contains(QStringLiteral("„") + QFileInfo(project).fileName() + QStringLiteral("“")));
        EXPECT_EQ(offer.details, QStringLiteral("Wiederherstellen|Verwerfen"));
        EXPECT_EQ(Form().ProjectFileName(), project);
        EXPECT_EQ(FromCp1252(Form().Document().Tree().Root().Caption()), QFileInfo(project).fileName());
        EXPECT_EQ(Form().Document().GetFileSetting(fsFilename), "neu.htm");
        EXPECT_TRUE(Form().Document().Modified());
        EXPECT_EQ(Form().efilename()->text(), QStringLiteral("neu.htm"));
        if (kill) {
            // Saving over what was saved since the copy asks first.
            dialogs_.choices = {2};
            Form().CommandAction(Tmainform::cmdSave)->trigger();
            EXPECT_EQ(ReadTextFile(project), theirs);
            EXPECT_EQ(dialogs_.CallsOf(DialogCall::Choose).size(), 2u);
        }
        Form().CurrentProject().WaitForRecoveryCopy();
        // Only the starting program's own copy and lock are left.
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3) << folder.path().toStdString();

        dialogs_.answers = {Answer::No};
        Form().CommandAction(Tmainform::cmdNew)->trigger();
    }
}

} // namespace
} // namespace tw::shelltest
