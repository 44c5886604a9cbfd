#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "shell/documenteditor.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/previewwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace tw::shelltest {
namespace {

constexpr int WaitMs = 5000;

// The example project in the window, its output file in an empty folder
// "site", and the preview open on its main page.
class PreviewWindowTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetTemplatesDirectory({});
        dialogs_.openAnswers.push_back(QStringLiteral(TW_EXAMPLES_DIR "/lindenhof.twf"));
        Form().OpenClick();
        ASSERT_TRUE(QDir().mkpath(Site()));
        Form().efilename()->setText(Site() + QStringLiteral("/index.htm"));
        OpenPreview();
    }

    void OpenPreview()
    {
        Form().PreviewAction()->trigger();
        preview_ = qobject_cast<PreviewWindow*>(Form().Preview());
        ASSERT_NE(preview_, nullptr);
        QSignalSpy shown(preview_, &PreviewWindow::pageShown);
        ASSERT_TRUE(shown.wait(WaitMs));
    }

    QString Site() const { return Path(QStringLiteral("site")); }

    // True when the preview showed a page after the action.
    template <typename Action>
    bool ShownAfter(Action action)
    {
        QSignalSpy shown(preview_, &PreviewWindow::pageShown);
        action();
        return shown.wait(WaitMs);
    }

    QVariant Evaluate(const QString& script)
    {
        QVariant result;
        bool done = false;
        preview_->view()->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, WaitMs)) << script.toStdString();
        return result;
    }

    QString ShownText() { return Evaluate(QStringLiteral("document.body.innerText")).toString(); }
    QString ShownFile() const { return QFileInfo(preview_->shownPage()).fileName(); }
    // Clicks the link as the user does, with the mouse: the preview follows
    // no link that a script clicks.
    void ClickLink(const QString& href)
    {
        const QVariantList centre =
            Evaluate(
                QStringLiteral("(() => { const r = document.querySelector('a[href=\"%1\"]')"
                               ".getBoundingClientRect(); return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                    .arg(href))
                .toList();
        ASSERT_EQ(centre.size(), 2) << href.toStdString();
        QWidget* input = preview_->view()->focusProxy();
        ASSERT_NE(input, nullptr);
        const QPoint point(centre[0].toInt(), centre[1].toInt());
        QTest::mouseClick(input, Qt::LeftButton, {}, point);
    }

    MenuNode& Item(const std::string& caption) { return *FindItem(Form().Document().Tree(), caption); }

    PreviewWindow* preview_ = nullptr;
};

TEST_F(PreviewWindowTest, ShowsAnEditWhereTheReaderWas)
{
    EXPECT_EQ(ShownFile(), QStringLiteral("index.htm"));
    EXPECT_TRUE(ShownText().contains(QStringLiteral("Kontakt")));
    preview_->resize(400, 120);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Evaluate(QStringLiteral("window.innerHeight")).toInt() <= 120; }));
    ASSERT_EQ(Evaluate(QStringLiteral("window.scrollTo(0, 40); window.scrollY")).toInt(), 40);

    ASSERT_TRUE(ShownAfter([this] { Form().Editor().RenameItem(Item("Kontakt"), QStringLiteral("Anfahrt")); }));
    EXPECT_TRUE(ShownText().contains(QStringLiteral("Anfahrt")));
    EXPECT_EQ(Evaluate(QStringLiteral("window.scrollY")).toInt(), 40);
    EXPECT_TRUE(QDir(Site()).isEmpty());
}

TEST_F(PreviewWindowTest, ShowsThePageOfTheSelectedItemAndSelectsTheItemOfAClickedSubmenu)
{
    ASSERT_TRUE(ShownAfter([this] { Form().menuTreePage()->SelectNode(Item("Rosen")); }));
    EXPECT_EQ(ShownFile(), QStringLiteral("Child2.htm"));
    EXPECT_TRUE(ShownText().contains(QStringLiteral("Rosen")));

    ASSERT_TRUE(ShownAfter([this] { ClickLink(QStringLiteral("Child3.htm")); }));
    EXPECT_EQ(Form().menuTreePage()->selectedNode(), &Item("Service"));
    EXPECT_EQ(ShownFile(), QStringLiteral("Child3.htm"));

    // A page of the site opens in the browser, from the output folder.
    for (const char* page : {"kontakt.htm", "anfahrt.htm"})
        WriteTextFile(Site() + QLatin1Char('/') + QLatin1String(page), "<p>Seite</p>");
    ClickLink(QStringLiteral("kontakt.htm"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !opener_.opened.isEmpty(); }, WaitMs));
    EXPECT_EQ(opener_.opened, QStringList{Site() + QStringLiteral("/kontakt.htm")});
    EXPECT_EQ(ShownFile(), QStringLiteral("Child3.htm"));
    // Also a link into a frame of its own.
    ASSERT_TRUE(ShownAfter(
        [this] { Form().Editor().SetLink(Item("Kontakt"), QStringLiteral("anfahrt.htm"), QStringLiteral("inhalt")); }));
    ClickLink(QStringLiteral("anfahrt.htm"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return opener_.opened.size() == 2; }, WaitMs));
    EXPECT_EQ(opener_.opened.back(), Site() + QStringLiteral("/anfahrt.htm"));
    EXPECT_EQ(QDir(Site()).entryList(QDir::Files),
              (QStringList{QStringLiteral("anfahrt.htm"), QStringLiteral("kontakt.htm")}));
}

// A link to a page that is not there says so instead of doing nothing.
TEST_F(PreviewWindowTest, LinkToAMissingPageIsReported)
{
    ClickLink(QStringLiteral("kontakt.htm"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview_->problemLine()->isVisibleTo(preview_); }, WaitMs));
    EXPECT_EQ(preview_->problemLine()->text(), QStringLiteral("Die verlinkte Seite „") +
                                                   QDir::toNativeSeparators(Site() + QStringLiteral("/kontakt.htm")) +
                                                   QStringLiteral("“ gibt es nicht."));
    EXPECT_TRUE(opener_.opened.isEmpty());
}

// A template's script reads no local file, and neither leaves the preview
// nor opens anything without a click of the user.
TEST_F(PreviewWindowTest, PageScriptsReachNoFileAndGoNowhereWithoutAClick)
{
    const auto read = [this](const QString& address) {
        return Evaluate(QStringLiteral("(() => { try { const x = new XMLHttpRequest(); x.open('GET', '%1', false); "
                                       "x.send(); return x.status + ':' + x.responseText.length; } "
                                       "catch (e) { return 'refused'; } })()")
                            .arg(address))
            .toString();
    };
    EXPECT_EQ(read(QStringLiteral("file:///etc/passwd")), QStringLiteral("refused"));
    EXPECT_EQ(read(QStringLiteral("../../../../etc/passwd")), QStringLiteral("refused"));
    EXPECT_EQ(Evaluate(QStringLiteral("window.open('https://example.com/') === null")).toBool(), true);
    const QUrl before = preview_->view()->url();
    Evaluate(QStringLiteral("document.querySelector('a[href=\"kontakt.htm\"]').click(); "
                            "location.href = 'https://example.com/?leak'; 1"));
    QTest::qWait(500);
    EXPECT_EQ(preview_->view()->url(), before);
    EXPECT_TRUE(opener_.opened.isEmpty()) << opener_.opened.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(ShownFile(), QStringLiteral("index.htm"));
}

TEST_F(PreviewWindowTest, TellsProblemsInALineAndRemembersItsPlace)
{
    Form().Editor().ApplyTemplate(QStringLiteral("Fehlt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview_->problemLine()->isVisibleTo(preview_); }, WaitMs));
    EXPECT_EQ(preview_->problemLine()->text(), QStringLiteral("Die Menüvorlage ist nicht vorhanden."));
    EXPECT_TRUE(preview_->shownPage().isEmpty());
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty());

    preview_->resize(500, 333);
    preview_->close();
    form_.reset();
    dialogs_.openAnswers.push_back(QStringLiteral(TW_EXAMPLES_DIR "/lindenhof.twf"));
    Form().OpenClick();
    Form().efilename()->setText(Site() + QStringLiteral("/index.htm"));
    OpenPreview();
    EXPECT_EQ(preview_->size(), QSize(500, 333));
}

// Wide enough, the sidebar set shows its menu unfolded, also after every
// regeneration; narrow, it folds behind its button, and a submenu chosen in
// the unfolded menu leads to a page that shows it unfolded, also after a
// regeneration.
TEST_F(PreviewWindowTest, SidebarStandsUnfoldedWhenWideAndWhereItWasOpened)
{
    // The first entry of the menu is where the page is hit at its middle.
    const QString menuShown = QStringLiteral(
        "(() => { const a = document.querySelector('nav a'); const r = a.getBoundingClientRect();"
        " return r.height > 0 && a.contains(document.elementFromPoint(r.x + r.width / 2, r.y + r.height / 2)); })()");
    auto widthIs = [this](auto compare) {
        return QTest::qWaitFor([&] { return compare(Evaluate(QStringLiteral("window.innerWidth")).toInt()); }, WaitMs);
    };
    preview_->resize(900, 600);
    ASSERT_TRUE(widthIs([](int width) { return width >= 860; }));
    ASSERT_TRUE(ShownAfter([this] { Form().Editor().ApplyTemplate(QStringLiteral("Seitenleiste")); }));
    EXPECT_TRUE(Evaluate(menuShown).toBool());
    ASSERT_TRUE(ShownAfter([this] { Form().Editor().RenameItem(Item("Kontakt"), QStringLiteral("Anfahrt")); }));
    EXPECT_TRUE(Evaluate(menuShown).toBool());

    preview_->resize(400, 600);
    ASSERT_TRUE(widthIs([](int width) { return width <= 400; }));
    EXPECT_FALSE(Evaluate(menuShown).toBool());
    ClickLink(QStringLiteral("#tw-menue"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Evaluate(menuShown).toBool(); }, WaitMs));
    ASSERT_TRUE(ShownAfter([this] { ClickLink(QStringLiteral("Child2.htm#tw-menue")); }));
    EXPECT_EQ(ShownFile(), QStringLiteral("Child2.htm"));
    EXPECT_TRUE(Evaluate(menuShown).toBool());
    ASSERT_TRUE(ShownAfter([this] { Form().Editor().RenameItem(Item("Anfahrt"), QStringLiteral("Kontakt")); }));
    EXPECT_TRUE(Evaluate(menuShown).toBool());
}

} // namespace
} // namespace tw::shelltest

int main(int argc, char** argv)
{
    tw::PrepareWebEngine();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
