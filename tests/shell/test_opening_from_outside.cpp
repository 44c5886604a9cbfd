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
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QTreeView>
#include <QUrl>

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
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    SessionServer server(SessionServerName(), Form());
    qunsetenv("XDG_RUNTIME_DIR");
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
