#include "shell/previewwindow.h"

#include "guibase/dialogs.h"
#include "shell/csetting.h"
#include "shell/documenteditor.h"
#include "shell/fmxutils.h"
#include "shell/menutreepage.h"
#include "shell/previewbuilder.h"
#include "shell/previewpage.h"
#include "shell/previewscheme.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <algorithm>

#include <unistd.h>

namespace tw {
namespace {

// The least time between two pages made after changes: four times what
// the window's thread spent on the last one (copying the document), so that
// a small project follows every change at once and a large one is not
// copied anew for every key of a word typed.
constexpr int ShortestPauseMs = 30;
constexpr int LongestPauseMs = 250;
// Wide enough for the wide layout of the shipped sets (above 48em, with a
// scroll bar beside).
constexpr QSize DefaultSize(800, 600);

// Addresses a click in the preview may hand to the system: the web and mail.
bool IsWebAddress(const QUrl& link)
{
    static const QStringList Schemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};
    return Schemes.contains(link.scheme(), Qt::CaseInsensitive);
}

} // namespace

void PrepareWebEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    RegisterPreviewScheme();
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

PreviewWindow::PreviewWindow(DocumentEditor& editor, MenuTreePage& treePage, PreviewBuilder& builder, Dialogs& dialogs,
                             ShellOpener& opener, std::function<QString()> projectFile, QWidget* parent)
    : QWidget(parent, Qt::Window), treePage_(treePage), builder_(builder), dialogs_(dialogs), opener_(opener),
      projectFile_(std::move(projectFile))
{
    setWindowTitle(QStringLiteral("Vorschau"));
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problem_->setContentsMargins(6, 4, 6, 4);
    problem_->hide();
    view_ = new QWebEngineView(this);
    // Made after the view, so that it goes after the view's page. Without a
    // storage name it keeps nothing on disk.
    auto* profile = new QWebEngineProfile(this);
    pages_ = new PreviewSchemeHandler(profile);
    profile->installUrlSchemeHandler(PreviewScheme, pages_);
    page_ = new PreviewPage([this](const QUrl& link) { return FollowLink(link); }, profile, view_);
    view_->setPage(page_);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &PreviewWindow::ShowContextMenu);
    connect(page_, &QWebEnginePage::loadFinished, this, &PreviewWindow::PageLoaded);
    connect(pages_, &PreviewSchemeHandler::refused, this, [this](const QString& file) {
        ShowProblem(QStringLiteral("Die Vorschau lädt „") + QDir::toNativeSeparators(file) +
                    QStringLiteral("“ nicht: eine Seite lädt höchstens %1 MB aus dem Ausgabeordner.")
                        .arg(PreviewSchemeHandler::PageLimit >> 20));
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(problem_);
    layout->addWidget(view_, 1);
    resize(DefaultSize);

    rebuild_.setSingleShot(true);
    connect(&rebuild_, &QTimer::timeout, this, &PreviewWindow::Rebuild);
    connect(&editor, &DocumentEditor::changed, this, [this] {
        builder_.DocumentChanged();
        // A change after a quiet while is shown at once, later ones of a
        // quick run together after the pause.
        if (isVisible() && !rebuild_.isActive())
            rebuild_.start(sinceRequest_.isValid() ? std::max(0, pause_ - static_cast<int>(sinceRequest_.elapsed()))
                                                   : 0);
    });
    connect(&builder_, &PreviewBuilder::pageBuilt, this, &PreviewWindow::PageBuilt);
    connect(treePage_.treeView()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PreviewWindow::ShowSelectedPage);
}

void PreviewWindow::showEvent(QShowEvent* event)
{
    if (!geometryRestored_) {
        geometryRestored_ = true;
        if (!restoreGeometry(ReadPreviewGeometry()))
            PlaceBesideMainWindow();
    }
    QWidget::showEvent(event);
    Rebuild();
}

void PreviewWindow::PlaceBesideMainWindow()
{
    const QWidget* main = parentWidget();
    if (main == nullptr || main->screen() == nullptr)
        return;
    const QRect area = main->screen()->availableGeometry();
    const QRect beside = main->frameGeometry();
    const int rightRoom = area.right() - beside.right();
    const int leftRoom = beside.left() - area.left();
    // Where the room beside is too narrow, the window covers part of the
    // main window rather than showing the narrow layout.
    const int width = std::min(DefaultSize.width(), area.width());
    const int left = rightRoom >= leftRoom ? beside.right() + 1 : beside.left() - width;
    resize(width, std::min(DefaultSize.height(), area.height()));
    move(std::clamp(left, area.left(), area.right() + 1 - width), beside.top());
}

void PreviewWindow::closeEvent(QCloseEvent* event)
{
    if (const QString problem = WritePreviewGeometry(saveGeometry()); !problem.isEmpty())
        dialogs_.Message(this, problem);
    QWidget::closeEvent(event);
}

void PreviewWindow::Rebuild()
{
    rebuild_.stop();
    sinceRequest_.start();
    builder_.BuildPage(projectFile_(), treePage_.selectedNode());
    pause_ = std::clamp(4 * static_cast<int>(sinceRequest_.elapsed()), ShortestPauseMs, LongestPauseMs);
}

void PreviewWindow::PageBuilt(const QString& page, const QString& problem)
{
    pages_->SetFolders(builder_.Folder(), builder_.OutputFolder());
    ShowProblem(problem);
    if (page.isEmpty()) {
        shownPage_.clear();
        // Not setHtml: the page lets no data address in.
        view_->setUrl(QUrl(QStringLiteral("about:blank")));
        return;
    }
    ShowPage(page);
}

void PreviewWindow::ShowProblem(const QString& text)
{
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
}

void PreviewWindow::ShowSelectedPage()
{
    // A pending build shows the page when it is done.
    if (isVisible() && !rebuild_.isActive())
        Rebuild();
}

void PreviewWindow::ShowPage(const QString& file)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        ShowProblem(QStringLiteral("Die Seite „") + QDir::toNativeSeparators(file) +
                    QStringLiteral("“ der Vorschau konnte nicht gelesen werden: ") + source.errorString());
        return;
    }
    // The same page again, after a change, stays where the reader was and
    // keeps its anchor; another page starts at its top or at its anchor.
    const bool samePage = file == shownPage_ && linkFragment_.isEmpty();
    keptScroll_ = samePage ? std::optional<QPointF>(view_->page()->scrollPosition()) : std::nullopt;
    // Served as if it lay in the output folder, so that relative links and
    // pictures lead where they will lead from the generated menu.
    QUrl address = PreviewAddress(QFileInfo(file).fileName());
    const QString fragment = samePage ? view_->url().fragment() : linkFragment_;
    linkFragment_.clear();
    if (!fragment.isEmpty())
        address.setFragment(fragment);
    shownPage_ = file;
    pages_->StartPage();
    view_->load(address);
}

QUrl PreviewWindow::PlaceInOutputFolder(const QUrl& link) const
{
    return QUrl::fromLocalFile(QDir(builder_.OutputFolder()).filePath(link.path().mid(1)));
}

void PreviewWindow::PageLoaded(bool ok)
{
    if (!ok)
        return;
    if (!keptScroll_) {
        emit pageShown();
        return;
    }
    view_->page()->runJavaScript(QStringLiteral("window.scrollTo(%1, %2);").arg(keptScroll_->x()).arg(keptScroll_->y()),
                                 [this](const QVariant&) { emit pageShown(); });
}

void PreviewWindow::ShowContextMenu(const QPoint& position)
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QWebEngineContextMenuRequest* request = view_->lastContextMenuRequest();
    if (request != nullptr && request->linkUrl().isValid()) {
        const QUrl link = request->linkUrl();
        menu->addAction(QStringLiteral("Link öffnen"), this, [this, link] {
            if (FollowLink(link))
                view_->load(link);
        });
    }
    menu->addAction(QStringLiteral("Kopieren"), this, [this] { page_->triggerAction(QWebEnginePage::Copy); })
        ->setEnabled(page_->hasSelection());
    menu->addAction(QStringLiteral("Alles auswählen"), this,
                    [this] { page_->triggerAction(QWebEnginePage::SelectAll); });
    menu->addSeparator();
    // Also after the set's files changed on disk.
    menu->addAction(QStringLiteral("Neu erzeugen"), this, [this] {
        builder_.DocumentChanged();
        Rebuild();
    });
    menu->popup(view_->mapToGlobal(position));
}

bool PreviewWindow::FollowLink(const QUrl& link)
{
    if (link.scheme() != QLatin1String(PreviewScheme)) {
        if (IsWebAddress(link))
            OpenWithShell(opener_, dialogs_, this, link);
        return false;
    }
    if (link.hasFragment() && link.adjusted(QUrl::RemoveFragment) == PreviewAddress(QFileInfo(shownPage_).fileName()))
        return true;
    const QUrl file = PlaceInOutputFolder(link.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery));
    if (MenuNode* node = builder_.NodeOfLink(file)) {
        // Kept until the page is shown.
        linkFragment_ = link.fragment();
        treePage_.SelectNode(*node);
    } else if (!QFileInfo::exists(file.toLocalFile())) {
        // The system would open nothing and say nothing.
        ShowProblem(QStringLiteral("Die verlinkte Seite „") + QDir::toNativeSeparators(file.toLocalFile()) +
                    QStringLiteral("“ gibt es nicht."));
    } else {
        OpenWithShell(opener_, dialogs_, this, file);
    }
    return false;
}

} // namespace tw
