#include "shell_test_support.h"
#include "support/test_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/qtcodec.h"
#include "projectfiles/projectfiles.h"
#include "shell/mainform.h"
#include "shell/previewbuilder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMap>
#include <QSignalSpy>
#include <QUrl>

#include <sys/wait.h>
#include <unistd.h>

namespace tw::shelltest {
namespace {

// The shipped example (Pflanzen and Service hold submenus) with its output
// file in a folder of its own, built with the shipped template sets.
class PreviewBuilderTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        SetTemplatesDirectory({});
        int format = 0;
        test::RecordedMessages messages;
        ASSERT_TRUE(LoadProject(document_, TW_EXAMPLES_DIR "/lindenhof.twf", format, messages));
        ASSERT_TRUE(QDir().mkpath(Output()));
        document_.SetFileSetting(fsFilename, ToCp1252(Output() + QStringLiteral("/index.htm")));
        document_.SetModified(false);
        ASSERT_TRUE(builder_.Build({})) << builder_.Problem().toStdString();
    }

    QString Output() const { return dir_.filePath(QStringLiteral("site")); }
    QUrl Link(const QString& name) const { return QUrl::fromLocalFile(Output() + QLatin1Char('/') + name); }
    QString Built(const QString& name) const { return QFileInfo(builder_.MainFile()).dir().filePath(name); }
    MenuNode* Item(const std::string& caption) { return FindItem(document_.Tree(), caption); }
    // The page a builder writes, off this thread, to show node.
    static QString PageOf(PreviewBuilder& builder, const MenuNode* node)
    {
        QSignalSpy built(&builder, &PreviewBuilder::pageBuilt);
        builder.BuildPage({}, node);
        EXPECT_TRUE(built.wait(5000));
        return built.isEmpty() ? QString() : built.back().at(0).toString();
    }
    QString PageOf(const MenuNode* node) { return PageOf(builder_, node); }

    QTemporaryDir dir_;
    TqzHTML document_;
    PreviewBuilder builder_{document_};
};

TEST_F(PreviewBuilderTest, BuildsOutsideTheOutputFolderAndFindsThePagesOfItemsAndLinks)
{
    EXPECT_TRUE(builder_.Problem().isEmpty());
    EXPECT_EQ(QFileInfo(builder_.MainFile()).fileName(), QStringLiteral("index.htm"));
    EXPECT_TRUE(QDir(Output()).isEmpty());
    EXPECT_FALSE(document_.Modified());
    EXPECT_EQ(FromCp1252(document_.GetFileSetting(fsFilename)), Output() + QStringLiteral("/index.htm"));

    EXPECT_EQ(PageOf(nullptr), builder_.MainFile());
    EXPECT_EQ(PageOf(&document_.Tree().Root()), builder_.MainFile());
    EXPECT_EQ(PageOf(Item("Startseite")), builder_.MainFile());
    EXPECT_EQ(PageOf(Item("Pflanzen")), Built(QStringLiteral("Child2.htm")));
    EXPECT_EQ(PageOf(Item("Rosen")), Built(QStringLiteral("Child2.htm")));

    EXPECT_EQ(builder_.NodeOfLink(Link(QStringLiteral("Child3.htm"))), Item("Service"));
    EXPECT_EQ(builder_.NodeOfLink(Link(QStringLiteral("index.htm"))), &document_.Tree().Root());
    EXPECT_EQ(builder_.NodeOfLink(Link(QStringLiteral("rosen.htm"))), nullptr);
    EXPECT_EQ(builder_.NodeOfLink(Link(QStringLiteral("Child9.htm"))), nullptr);
    EXPECT_EQ(builder_.NodeOfLink(QUrl::fromLocalFile(dir_.filePath(QStringLiteral("Child3.htm")))), nullptr);
    EXPECT_EQ(builder_.NodeOfLink(QUrl(QStringLiteral("https://example.org/Child3.htm"))), nullptr);
}

TEST_F(PreviewBuilderTest, FilesOfAnEarlierBuildAreGoneAndFailuresAreTold)
{
    // A page that holds its bytes already is not written again.
    const QDateTime longAgo(QDate(2001, 2, 3), QTime(4, 5, 6));
    QFile page(Built(QStringLiteral("Child2.htm")));
    ASSERT_TRUE(page.open(QIODevice::ReadWrite) && page.setFileTime(longAgo, QFileDevice::FileModificationTime));
    page.close();
    ASSERT_TRUE(builder_.Build({}));
    EXPECT_EQ(QFileInfo(page.fileName()).lastModified(), longAgo);

    document_.Tree().DeleteChildren(*Item("Service"));
    ASSERT_TRUE(builder_.Build({}));
    EXPECT_FALSE(QFileInfo::exists(Built(QStringLiteral("Child3.htm"))));

    // A set that writes the whole menu into one file shows that file.
    document_.SetFileSetting(fsTemplate, "Komplett");
    builder_.DocumentChanged();
    EXPECT_EQ(PageOf(Item("Rosen")), builder_.MainFile());
    EXPECT_EQ(builder_.NodeOfLink(Link(QStringLiteral("Child2.htm"))), nullptr);

    document_.SetFileSetting(fsTemplate, "Gibt es nicht");
    builder_.DocumentChanged();
    EXPECT_TRUE(PageOf(Item("Rosen")).isEmpty());
    EXPECT_EQ(builder_.Problem(), QStringLiteral("Die Menüvorlage ist nicht vorhanden."));
    EXPECT_FALSE(builder_.Build({}));

    // Without an output file the menu is shown under a name of the preview's.
    document_.SetFileSetting(fsTemplate, "Aufklappend");
    document_.SetFileSetting(fsFilename, "");
    builder_.DocumentChanged();
    EXPECT_EQ(PageOf(Item("Rosen")), Built(QStringLiteral("Child2.htm"))) << builder_.Problem().toStdString();
    EXPECT_TRUE(builder_.Build({})) << builder_.Problem().toStdString();
    EXPECT_TRUE(QFileInfo::exists(builder_.MainFile()));
}

// A page written alone, from the builder's copy of the document, holds the
// bytes a whole generation gives it, also for a set with deeper levels; an
// edit after the request does not reach the page being written.
TEST_F(PreviewBuilderTest, PagesWrittenAloneHoldTheBytesOfAWholeGeneration)
{
    for (const char* set : {"Aufklappend", "Seitenleiste"}) {
        document_.SetFileSetting(fsTemplate, set);
        ASSERT_TRUE(builder_.Build({}));
        QMap<QString, QByteArray> whole;
        for (const QFileInfo& file : QDir(QFileInfo(builder_.MainFile()).path()).entryInfoList(QDir::Files))
            whole.insert(file.fileName(), ReadTextFile(file.filePath()));
        PreviewBuilder alone(document_);
        for (const std::string caption : {"Rosen", "Service", "Startseite"}) {
            const QString page = PageOf(alone, Item(caption));
            EXPECT_EQ(ReadTextFile(page), whole.value(QFileInfo(page).fileName())) << set << " " << caption;
        }
        QSignalSpy built(&alone, &PreviewBuilder::pageBuilt);
        alone.BuildPage({}, nullptr);
        alone.DocumentChanged();
        document_.Tree().SetCaption(*Item("Service"), "Umbenannt");
        ASSERT_TRUE(built.wait(5000));
        EXPECT_EQ(ReadTextFile(built.back().at(0).toString()), whole.value(QStringLiteral("index.htm")));
        document_.Tree().SetCaption(*Item("Umbenannt"), "Service");
    }
}

#ifndef TW_WEBENGINE
// Without Qt WebEngine, "Vorschau" opens the preview's main file in the
// browser.
TEST_F(MainFormTest, PreviewOpensTheMainFileOfAPrivateFolderInTheBrowser)
{
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("site"))));
    SetTemplatesDirectory({}); // the shipped sets
    Form().SelectTemplate(QStringLiteral("Aufklappend"));
    Form().efilename()->setText(Path(QStringLiteral("site/menu.htm")));
    Form().PreviewAction()->trigger();
    ASSERT_EQ(opener_.opened.size(), 1) << dialogs_.TextsOf(DialogCall::Message).join(u'\n').toStdString();
    const QFileInfo opened(opener_.opened.front());
    EXPECT_EQ(opened.fileName(), QStringLiteral("menu.htm"));
    EXPECT_TRUE(opened.exists());
    EXPECT_TRUE(QDir(Path(QStringLiteral("site"))).isEmpty());
}
#endif

} // namespace
} // namespace tw::shelltest

namespace tw::shelltest {
namespace {

// A preview folder that a killed or signalled program left behind is
// removed when the next preview folder is made; a running one's stays.
TEST(PreviewFolderTest, FoldersOfEndedProgramsAreRemovedAtTheNextStart)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    const QDir temporary(QDir::tempPath());
    const QString ended = QStringLiteral("treeweaver-preview-%1-AbCdEf").arg(child);
    const QString running = QStringLiteral("treeweaver-preview-%1-AbCdEf").arg(getpid());
    for (const QString& name : {ended, running}) {
        ASSERT_TRUE(temporary.mkpath(name + QStringLiteral("/unter")));
        QFile page(temporary.filePath(name + QStringLiteral("/index.htm")));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    }

    const PreviewFolder folder;

    EXPECT_TRUE(folder.isValid());
    EXPECT_FALSE(temporary.exists(ended));
    EXPECT_TRUE(temporary.exists(running));
    EXPECT_TRUE(QFileInfo(folder.path()).fileName().startsWith(QStringLiteral("treeweaver-preview-%1-").arg(getpid())));
    QDir(temporary.filePath(running)).removeRecursively();
}

} // namespace
} // namespace tw::shelltest
