// The window that writes the menu into a site's pages, driven as a user
// would: the rows and their states, writing only what was shown, undo, the
// link check and its way back into the tree.
#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "guibase/qtcodec.h"
#include "shell/diffview.h"
#include "shell/documenteditor.h"
#include "shell/mainform.h"
#include "shell/menutreemodel.h"
#include "shell/menutreepage.h"
#include "shell/projectquestions.h"
#include "shell/sitechecklist.h"
#include "shell/siteembedcommand.h"
#include "shell/sitewindow.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>
#include <QTreeView>

namespace tw::shelltest {
namespace {

const QByteArray Pair = "<!-- treeweaver:menu --><!-- /treeweaver:menu -->";

class SiteWindowTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        qputenv("XDG_STATE_HOME", Path(QStringLiteral("zustand")).toUtf8());
        const QString set = Path(QStringLiteral("Templates/Eingebettet/"));
        QDir().mkpath(set);
        WriteTextFile(set + "template.ini", "[Level]\nLevel0=x\n[Embed]\nLevel0=e\n");
        WriteTextFile(set + "e_MenuPoint.txt", "<a href=\"$Link$\"$AriaCurrent$>$Linkname$</a>\n");
        QDir().mkpath(Path(QStringLiteral("site")));
        TqzHTML& document = Form().Document();
        document.SetFileSetting(fsTemplate, "Eingebettet");
        document.SetFileSetting(fsFilename, ToCp1252(Path(QStringLiteral("site/index.html"))));
        Item("Start", "index.html");
        Item("Team", "team.html");
    }
    void Item(const char* caption, const char* link)
    {
        MenuNode& node = Form().Editor().AddItem(Form().Document().Tree().Root(), caption);
        Form().Editor().SetLink(node, QString::fromLatin1(link), {});
    }
    void TearDown() override
    {
        qunsetenv("XDG_STATE_HOME");
        MainFormTest::TearDown();
    }

    void Page(const char* name, const QByteArray& bytes) { WriteTextFile(Path(QStringLiteral("site/")) + name, bytes); }
    QByteArray Bytes(const char* name) const { return ReadFile(Path(QStringLiteral("site/")) + name); }
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(fehlt)");
    }
    SiteWindow& Window()
    {
        auto* command = Form().findChild<SiteEmbedCommand*>();
        command->Action()->trigger();
        return *command->Window();
    }
    // Each row as "path, item, state", as a screen reader reads it.
    static QStringList Rows(const SiteWindow& window)
    {
        QStringList rows;
        const PageListModel& model = window.Pages();
        for (int row = 0; row < model.rowCount(); ++row)
            rows << model.index(row, 0).data(Qt::AccessibleTextRole).toString();
        return rows;
    }
    static void SelectPage(SiteWindow& window, const QString& path)
    {
        for (int row = 0; row < window.Pages().rowCount(); ++row) {
            if (window.Pages().index(row, 0).data().toString() == path)
                window.PageView()->selectRow(row);
        }
    }
};

TEST_F(SiteWindowTest, ShowsEveryPageStateWritesOnlyOnceAndUndoes)
{
    const QByteArray start = "<body>\n" + Pair + "\n</body>\n";
    Page("index.html", start);
    SiteWindow& window = Window();
    ASSERT_EQ(Rows(window), QStringList{QStringLiteral("index.html, Start, wird geändert")});
    EXPECT_TRUE(window.Difference()->toPlainText().contains(
        QStringLiteral("+<a href=\"index.html\" aria-current=\"page\">Start</a>")));

    window.Write();
    const QByteArray written = Bytes("index.html");
    EXPECT_TRUE(written.contains("<a href=\"team.html\">Team</a>")) << written.constData();
    window.Write();
    EXPECT_EQ(Bytes("index.html"), written);
    EXPECT_TRUE(window.StatusLabel()->text().startsWith(QStringLiteral("Geschrieben: 0 Dateien.")));

    Page("team.html", "<body>\n" + Pair + "\n</body>\n");
    Page("ohne.html", "<html><body><p>Text</p></body></html>\n");
    Page("kaputt.html", "<body>\n\n<!-- treeweaver:menu -->\n</body>\n");
    Page("hand.html", "<body>\n<!-- treeweaver:menu -->mein Menü<!-- /treeweaver:menu -->\n</body>\n");
    window.Reload();
    EXPECT_EQ(Rows(window), (QStringList{QStringLiteral("hand.html, Start, von Hand geändert"),
                                         QStringLiteral("index.html, Start, unverändert"),
                                         QStringLiteral("kaputt.html, kein Eintrag, Markierung fehlerhaft: Zeile 3"),
                                         QStringLiteral("ohne.html, kein Eintrag, keine Markierung"),
                                         QStringLiteral("team.html, Team, wird geändert")}));

    // Markers go in only after their difference was shown.
    SelectPage(window, QStringLiteral("ohne.html"));
    window.InsertMarkersIntoSelected();
    EXPECT_TRUE(Rows(window).contains(QStringLiteral("ohne.html, Start, wird geändert")));
    EXPECT_TRUE(window.Difference()->toPlainText().contains(QStringLiteral("+<!-- treeweaver:menu -->")));
    EXPECT_EQ(Bytes("ohne.html"), "<html><body><p>Text</p></body></html>\n");

    window.Write();
    EXPECT_TRUE(Bytes("ohne.html").contains("<a href=\"team.html\">Team</a>"));
    window.UndoLastRun();
    EXPECT_EQ(Bytes("ohne.html"), "<html><body><p>Text</p></body></html>\n");
    EXPECT_EQ(Bytes("team.html"), "<body>\n" + Pair + "\n</body>\n");
    EXPECT_EQ(Bytes("index.html"), written);
    EXPECT_TRUE(dialogs_.calls.empty());
}

TEST_F(SiteWindowTest, APageChangedAfterItWasShownIsLeftAndSaysSo)
{
    Page("index.html", "<body>\n" + Pair + "\n</body>\n");
    Page("team.html", "<body>\n" + Pair + "\n</body>\n");
    SiteWindow& window = Window();
    Page("team.html", "<body><p>neu</p>\n" + Pair + "\n</body>\n");
    window.Write();
    EXPECT_TRUE(Bytes("index.html").contains("aria-current"));
    EXPECT_EQ(Bytes("team.html"), "<body><p>neu</p>\n" + Pair + "\n</body>\n");
    EXPECT_EQ(Rows(window), (QStringList{QStringLiteral("index.html, Start, unverändert"),
                                         QStringLiteral("team.html, Team, seitdem geändert")}));
}

TEST_F(SiteWindowTest, EditsAfterWritingAreNotedQuietlyUntilWrittenAgain)
{
    Page("index.html", "<body>\n" + Pair + "\n</body>\n");
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("projekt.twb")), 1});
    ASSERT_TRUE(Form().Questions().SaveAs());
    SiteWindow& window = Window();
    window.SetSiteFolder(Path(QStringLiteral("site"))); // remembered for the project
    window.Write();
    EXPECT_TRUE(Form().statusBar()->currentMessage().isEmpty());
    Form().Editor().RenameItem(*Form().Document().Tree().Root().Child(1), QStringLiteral("Leute"));
    EXPECT_EQ(Form().statusBar()->currentMessage(), SiteEmbedCommand::StaleNote());
    window.Reload();
    window.Write();
    EXPECT_TRUE(Form().statusBar()->currentMessage().isEmpty());
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty());
}

TEST_F(SiteWindowTest, LinkCheckListsEachFaultAndLeadsToTheItemOrTheFolder)
{
    Item("Kurse", "Kurse.html");
    Item("Leer", "leer/");
    Item("Ohne", "");
    const MenuNode& root = Form().Document().Tree().Root();
    Page("index.html", "<body></body>");
    Page("kurse.html", "<body></body>");
    Page("waise.html", "<body></body>");
    QDir().mkpath(Path(QStringLiteral("site/leer")));
    SiteWindow& window = Window();
    window.CheckLinks();
    SiteCheckList& list = *window.LinkFaults();
    QStringList rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list.topLevelItem(row);
        rows << item->text(0) + " | " + item->text(1) + " | " + item->text(2);
    }
    EXPECT_EQ(rows, (QStringList{QStringLiteral("Team | team.html | Datei fehlt"),
                                 QStringLiteral("Kurse | Kurse.html | falsche Groß-/Kleinschreibung (kurse.html)"),
                                 QStringLiteral("Leer | leer/ | Ordner ohne Startseite"),
                                 QStringLiteral("Ohne |  | Eintrag ohne Seite"),
                                 QStringLiteral("(Seite) | waise.html | kein Eintrag verweist auf die Seite")}));

    const auto doubleClick = [&list](int row) {
        const QRect place = list.visualItemRect(list.topLevelItem(row));
        // A double click: press and release, then the second press.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place.center());
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, place.center());
    };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    doubleClick(1);
    EXPECT_EQ(MenuTreeModel::nodeOf(Form().menuTreePage()->treeView()->currentIndex()), root.Child(2));
    doubleClick(4);
    EXPECT_EQ(opener_.opened, QStringList{QDir(Path(QStringLiteral("site"))).absolutePath()});
}

} // namespace
} // namespace tw::shelltest
