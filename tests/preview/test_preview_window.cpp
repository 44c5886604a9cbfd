#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "shell/documenteditor.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/previewscheme.h"
#include "shell/previewwindow.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
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
    void ClickLink(const QString& href, Qt::MouseButton button = Qt::LeftButton)
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
        QTest::mouseClick(input, button, {}, point);
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

// A script that clicks its own link on a press of the reader's sends no one
// anywhere: a link leaves the preview only where the click landed on it,
// also from a frame the script made itself.
TEST_F(PreviewWindowTest, ScriptClicksOnTheReadersInputLeadNowhere)
{
    WriteTextFile(Site() + QStringLiteral("/kontakt.htm"), "<p>Seite</p>");
    const QString follow = QStringLiteral("document.querySelector('a[href=\"kontakt.htm\"]').click()");
    const QString framed = QStringLiteral(
        "const f = document.createElement('iframe'); document.body.appendChild(f);"
        " const a = f.contentDocument.createElement('a'); a.href = location.href.replace(/[^/]*$/, 'kontakt.htm');"
        " a.target = '_top'; f.contentDocument.body.appendChild(a); a.click()");
    const QVariantList free = Evaluate(QStringLiteral("(() => { for (let y = innerHeight - 2; y > 0; y -= 4)"
                                                      " if (!document.elementFromPoint(2, y).closest('a'))"
                                                      " return [2, y]; return []; })()"))
                                  .toList();
    ASSERT_EQ(free.size(), 2);
    QWidget* input = preview_->view()->focusProxy();
    for (const auto& [event, script] : {std::pair{QStringLiteral("mousedown"), follow},
                                        {QStringLiteral("keydown"), follow},
                                        {QStringLiteral("mouseup"), framed}}) {
        Evaluate(QStringLiteral("addEventListener('%1', () => { %2; }, {once: true}); 1").arg(event, script));
        if (event == QStringLiteral("keydown"))
            QTest::keyClick(input, Qt::Key_X);
        else
            QTest::mouseClick(input, Qt::LeftButton, {}, QPoint(free[0].toInt(), free[1].toInt()));
        QTest::qWait(400);
        EXPECT_TRUE(opener_.opened.isEmpty()) << event.toStdString();
        EXPECT_EQ(ShownFile(), QStringLiteral("index.htm"));
        opener_.opened.clear();
    }
    // The reader's own click still leads there.
    ClickLink(QStringLiteral("kontakt.htm"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !opener_.opened.isEmpty(); }, WaitMs));
    EXPECT_EQ(opener_.opened.front(), Site() + QStringLiteral("/kontakt.htm"));
}

// Pictures are handed to the page as they are read; what one page may pull
// is capped, and the line tells what was left out.
TEST_F(PreviewWindowTest, CapsWhatAPageMayPull)
{
    constexpr qint64 Picture = 1 << 20;
    // A real picture of 3 x 2 pixels, padded at its end.
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(QImage(3, 2, QImage::Format_RGB32).save(&buffer, "PNG"));
    for (const char* name : {"gross.png", "riesig.png"}) {
        QFile file(Site() + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(png) == png.size());
        ASSERT_TRUE(file.resize(name[0] == 'g' ? Picture : PreviewSchemeHandler::PageLimit));
    }
    // The widths of the pictures as loaded, -1 for one that was not.
    const auto load = [this](const QString& name, int times) {
        Evaluate(QStringLiteral("window.loaded = []; for (let i = 0; i < %2; ++i) { const p = new Image();"
                                " p.onload = () => loaded.push(p.naturalWidth); p.onerror = () => loaded.push(-1);"
                                " p.src = '%1?' + i; } 1")
                     .arg(name)
                     .arg(times));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return Evaluate(QStringLiteral("loaded.length")).toInt() == times; }, 4 * WaitMs));
        return Evaluate(QStringLiteral("loaded")).toList();
    };
    const QVariantList sizes = load(QStringLiteral("gross.png"), 8);
    ASSERT_EQ(sizes.size(), 8);
    for (const QVariant& width : sizes)
        EXPECT_EQ(width.toInt(), 3);
    // Counted once, however often it is named: the next file takes the page
    // over its limit.

    EXPECT_EQ(load(QStringLiteral("riesig.png"), 1), QVariantList{-1});
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview_->problemLine()->isVisibleTo(preview_); }, WaitMs));
    EXPECT_TRUE(preview_->problemLine()->text().contains(QStringLiteral("riesig.png")));
}

// The window opens wide enough for a set's wide layout; after "Neu" it shows
// the new project, not the one before.
TEST_F(PreviewWindowTest, OpensWideAndFollowsANewProject)
{
    EXPECT_FALSE(Evaluate(QStringLiteral("matchMedia('(max-width: 48em)').matches")).toBool());
    ASSERT_TRUE(ShownText().contains(QStringLiteral("Kontakt")));
    dialogs_.answers.push_back(Answer::No);
    Form().NewClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ShownText().contains(QStringLiteral("Kontakt")); }, WaitMs));
}

// The menu of a right click speaks German and each of its entries works.
TEST_F(PreviewWindowTest, ContextMenuIsGermanAndEveryEntryWorks)
{
    // The entries of the menu on the link; the one named choose is chosen.
    const auto menuOn = [this](const QString& href, const QString& choose) {
        ClickLink(href, Qt::RightButton);
        QMenu* menu = nullptr;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                for (QWidget* shown : QApplication::topLevelWidgets())
                    menu = shown->isVisible() && qobject_cast<QMenu*>(shown) ? qobject_cast<QMenu*>(shown) : menu;
                return menu != nullptr;
            },
            WaitMs));
        QStringList texts;
        QAction* chosen = nullptr;
        for (QAction* action : menu != nullptr ? menu->actions() : QList<QAction*>()) {
            texts.append(action->text());
            chosen = action->text() == choose ? action : chosen;
        }
        if (menu != nullptr)
            menu->close();
        EXPECT_NE(chosen, nullptr) << choose.toStdString();
        if (chosen != nullptr)
            chosen->trigger();
        return texts;
    };
    QStringList texts;
    ASSERT_TRUE(ShownAfter([&] { texts = menuOn(QStringLiteral("Child3.htm"), QStringLiteral("Link öffnen")); }));
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Link öffnen"), QStringLiteral("Kopieren"),
                                  QStringLiteral("Alles auswählen"), QString(), QStringLiteral("Neu erzeugen")}));
    EXPECT_EQ(Form().menuTreePage()->selectedNode(), &Item("Service"));

    const QString link = QStringLiteral("kontakt.htm");
    menuOn(link, QStringLiteral("Alles auswählen"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview_->view()->page()->hasSelection(); }, WaitMs));
    QApplication::clipboard()->clear();
    menuOn(link, QStringLiteral("Kopieren"));
    EXPECT_TRUE(
        QTest::qWaitFor([] { return QApplication::clipboard()->text().contains(QStringLiteral("Service")); }, WaitMs));
    EXPECT_TRUE(ShownAfter([&] { menuOn(link, QStringLiteral("Neu erzeugen")); }));
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
