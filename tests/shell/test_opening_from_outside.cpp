// A project named on the command line, dropped on the window or handed over
// by a second start opens exactly as "Öffnen" opens it.
#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "shell/commandline.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/projectdrop.h"
#include "shell/singleinstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include <chrono>
#include <memory>
#include <thread>

#include <unistd.h>

namespace tw::shelltest {
namespace {

const QString Example = QStringLiteral(TW_EXAMPLES_DIR "/lindenhof.twf");

// What the window shows of an opened project.
struct Opened {
    QString title;
    QString fileName;
    int format = 0;
    std::size_t items = 0;
    QString templateName;
    bool operator==(const Opened&) const = default;
};

void PrintTo(const Opened& opened, std::ostream* out)
{
    *out << opened.title.toStdString() << " | " << opened.fileName.toStdString() << " | " << opened.format << " | "
         << opened.items << " | " << opened.templateName.toStdString();
}

class OpeningFromOutsideTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetTemplatesDirectory({});
        Form().ListTemplates();
    }

    Opened Shown()
    {
        const auto selected = Form().lbTemplates()->selectedItems();
        return {ShownTitle(Form()), Form().ProjectFileName(), Form().ProjectFormat(), Form().Document().Tree().Count(),
                selected.isEmpty() ? QString() : selected.front()->text()};
    }

    // What "Öffnen" shows for the file, starting from a new document.
    Opened ShownByOpen(const QString& file)
    {
        dialogs_.openAnswers.push_back(file);
        Form().OpenClick();
        const Opened opened = Shown();
        Form().NewClick();
        return opened;
    }

    // The lock of a session whose socket goes into runtimeDir, held.
    static std::unique_ptr<SessionLock> TakeSessionLock(const QString& runtimeDir)
    {
        qputenv("XDG_RUNTIME_DIR", runtimeDir.toUtf8());
        auto lock = std::make_unique<SessionLock>(SessionServerName());
        qunsetenv("XDG_RUNTIME_DIR");
        EXPECT_TRUE(lock->Take());
        return lock;
    }
    // A start of the program in that session, with state and settings of its own.
    QProcessEnvironment StartEnvironment(const QString& runtimeDir) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        environment.insert(QStringLiteral("XDG_STATE_HOME"), Path(QStringLiteral("state")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Path(QStringLiteral("config")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return environment;
    }

    // Runs events until the window names a project file or time is up.
    void WaitForProject()
    {
        const QDeadlineTimer deadline(10000);
        while (Form().ProjectFileName().isEmpty() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
};

TEST_F(OpeningFromOutsideTest, CommandLineOpensWhatOpenOpens)
{
    const Opened expected = ShownByOpen(Example);
    ASSERT_EQ(expected.items, 11u);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(TW_EXAMPLES_DIR));
    const QString project = ProjectFromCommandLine({QStringLiteral("treeweaver"), QStringLiteral("lindenhof.twf")});
    QDir::setCurrent(previous);
    EXPECT_EQ(project, Example);
    Form().OpenProject(project);
    EXPECT_EQ(Shown(), expected);
}

TEST_F(OpeningFromOutsideTest, OpeningAsksAboutUnsavedChangesFirst)
{
    EditSomething();
    dialogs_.answers = {Answer::Cancel};
    Form().OpenProject(Example);
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Confirm).size(), 1u);
    EXPECT_TRUE(Form().ProjectFileName().isEmpty());
    EXPECT_TRUE(Form().Document().Modified());
}

TEST_F(OpeningFromOutsideTest, ProjectDroppedOnTheMenuTreeOpensLikeOpen)
{
    const Opened expected = ShownByOpen(Example);
    ProjectDrop projectDrop(Form());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path(QStringLiteral("bin"))), QUrl::fromLocalFile(Example)});
    QWidget* target = Form().menuTreePage()->findChild<QTreeView*>()->viewport();

    // Qt hands the later events of a drag only to the widget that took its
    // start, which a test cannot set up, so those go to the filter directly.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted()) << "the menu tree takes the project";
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(static_cast<QObject&>(projectDrop).eventFilter(target, &drop));
    EXPECT_TRUE(drop.isAccepted());
    WaitForProject();
    EXPECT_EQ(Shown(), expected);
}

TEST_F(OpeningFromOutsideTest, OnlyProjectFilesAreTakenFromADrop)
{
    WriteTextFile(Path(QStringLiteral("alt.mnu")), "Start\r\n");
    WriteTextFile(Path(QStringLiteral("alt.tmf")), "Start;index.htm;\r\n");
    WriteTextFile(Path(QStringLiteral("seite.htm")), "<p>");
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(Path(QStringLiteral("seite.htm"))), QUrl::fromLocalFile(Path(QStringLiteral("alt.tmf")))});
    EXPECT_EQ(DroppedProjectFile(data), QString());
    data.setUrls(
        {QUrl(QStringLiteral("https://example.org/a.twf")), QUrl::fromLocalFile(Path(QStringLiteral("alt.mnu")))});
    EXPECT_EQ(DroppedProjectFile(data), Path(QStringLiteral("alt.mnu")));
}

TEST_F(OpeningFromOutsideTest, SecondStartHandsItsProjectToTheRunningWindow)
{
    QTemporaryDir runtime;
    const auto lock = TakeSessionLock(runtime.path());
    SessionServer server(*lock, Form());
    EditSomething();
    dialogs_.answers = {Answer::No};

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(TW_WINDOW_PROGRAM), {Example});
    WaitForProject();
    // The second start may already have ended while the window opened its project.
    ASSERT_TRUE(second.state() == QProcess::NotRunning || second.waitForFinished(10000));
    EXPECT_NE(second.error(), QProcess::FailedToStart);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Confirm).size(), 1u) << "asked about the unsaved changes";
    EXPECT_EQ(Form().ProjectFileName(), Example);
    EXPECT_EQ(Form().Document().Tree().Count(), 11u);
}

// The window is busy (opening a large project) for longer than a start
// used to wait, and the project's name holds a line break: the start waits,
// ends well, and the whole name is opened.
TEST_F(OpeningFromOutsideTest, ABusyWindowTakesTheWholeNameOfTheProject)
{
    QTemporaryDir runtime;
    const auto lock = TakeSessionLock(runtime.path());
    SessionServer server(*lock, Form());
    const QString project = Path(QStringLiteral("a\nb.twf"));
    for (const char* extension : {".twf", ".tws", ".twv"}) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TW_EXAMPLES_DIR "/lindenhof") + QLatin1String(extension),
                                project.chopped(4) + QLatin1String(extension)));
    }
    QProcess second;
    second.setProcessEnvironment(StartEnvironment(runtime.path()));
    second.start(QStringLiteral(TW_WINDOW_PROGRAM), {project});
    ASSERT_TRUE(second.waitForStarted(10000));
    std::this_thread::sleep_for(std::chrono::seconds(6));
    WaitForProject();
    EXPECT_TRUE(second.state() == QProcess::NotRunning || second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(Form().ProjectFileName(), project);
    EXPECT_EQ(Form().Document().Tree().Count(), 11u);
}

// Two starts at once, with no program running: one shows the window, the
// other hands over to it and ends.
TEST_F(OpeningFromOutsideTest, TwoQuickStartsShowOneWindow)
{
    QTemporaryDir runtime;
    QProcess starts[2];
    for (QProcess& start : starts) {
        start.setProcessEnvironment(StartEnvironment(runtime.path()));
        start.start(QStringLiteral(TW_WINDOW_PROGRAM), QStringList());
    }
    const QDeadlineTimer deadline(30000);
    const auto ended = [&starts] {
        return (starts[0].state() == QProcess::NotRunning) + (starts[1].state() == QProcess::NotRunning);
    };
    while (ended() == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    // Time for a second window to end as well, which it must not.
    QTest::qWait(500);
    EXPECT_EQ(ended(), 1);
    for (QProcess& start : starts) {
        if (start.state() == QProcess::NotRunning) {
            EXPECT_EQ(start.exitCode(), 0) << start.readAllStandardError().toStdString();
        } else {
            start.kill();
            start.waitForFinished(10000);
        }
    }
}

// Without $XDG_RUNTIME_DIR the socket goes into a folder of the user's own
// in the temporary folder; one that another user could have taken first
// (writable for others, or a link) is not used, and nothing is handed over.
TEST(SessionServerNameTest, OnlyAFolderOfTheUsersOwnHoldsTheSocket)
{
    QTemporaryDir temporary;
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", temporary.path().toUtf8());
    const QString own = temporary.path() + QStringLiteral("/treeweaver-") + QString::number(::geteuid());
    ASSERT_TRUE(QDir().mkdir(own));
    ASSERT_TRUE(QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                               QFile::WriteOther | QFile::ExeOther));
    const QString open = SessionServerName();
    ASSERT_TRUE(QDir().rmdir(own));
    ASSERT_TRUE(QFile::link(temporary.path(), own));
    const QString linked = SessionServerName();
    ASSERT_TRUE(QFile::remove(own));
    const QString made = SessionServerName();
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("TMPDIR", tmpdir);
    EXPECT_EQ(open, QString());
    EXPECT_EQ(linked, QString());
    EXPECT_TRUE(made.startsWith(own + u'/')) << made.toStdString();
    EXPECT_EQ(QFileInfo(own).permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              QFile::Permissions());
}

TEST(SessionServerNameTest, EachDisplayHasAWindowOfItsOwn)
{
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    QStringList names;
    for (const char* value : {":1", ":2", ":1"}) {
        qputenv("DISPLAY", value);
        names << SessionServerName();
    }
    qputenv("DISPLAY", display);
    if (!wayland.isEmpty())
        qputenv("WAYLAND_DISPLAY", wayland);
    EXPECT_NE(names[0], names[1]);
    EXPECT_EQ(names[0], names[2]);
}

TEST_F(OpeningFromOutsideTest, WindowProgramTellsItsVersionWithoutADisplay)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TW_WINDOW_PROGRAM), {QStringLiteral("--version")});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardOutput(), QByteArrayLiteral("Treeweaver " TW_VERSION_TEXT "\n"));
}

} // namespace
} // namespace tw::shelltest
