#include "shell/previewwindow.h"

#include "guibase/qtcodec.h"
#include "platform/messages.h"
#include "shell/csetting.h"
#include "shell/documenteditor.h"
#include "shell/fmxutils.h"
#include "shell/menutreepage.h"
#include "shell/previewbuilder.h"
#include "shell/previewpage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>

#include <unistd.h>

namespace tw {
namespace {

constexpr int RebuildDelayMs = 300;
constexpr QSize DefaultSize(640, 480);
constexpr int MinimumPlacedWidth = 320;
// Content handed over directly becomes a data URL, which Chromium limits.
constexpr qsizetype ContentLimit = 2 * 1024 * 1024;

} // namespace

void PrepareWebEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

PreviewWindow::PreviewWindow(DocumentEditor& editor, MenuTreePage& treePage, PreviewBuilder& builder,
                             std::function<QString()> projectFile, QWidget* parent)
    : QWidget(parent, Qt::Window), treePage_(treePage), builder_(builder), projectFile_(std::move(projectFile))
{
    setWindowTitle(QStringLiteral("Vorschau"));
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problem_->setContentsMargins(6, 4, 6, 4);
    problem_->hide();
    view_ = new QWebEngineView(this);
    auto* page = new PreviewPage([this](const QUrl& link) { return FollowLink(link); }, view_);
    // Generated pages are Windows-1252 text; a page that does not say so is read as such.
    page->settings()->setDefaultTextEncoding(QStringLiteral("windows-1252"));
    view_->setPage(page);
    connect(page, &QWebEnginePage::loadFinished, this, &PreviewWindow::PageLoaded);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(problem_);
    layout->addWidget(view_, 1);
    resize(DefaultSize);

    rebuild_.setSingleShot(true);
    rebuild_.setInterval(RebuildDelayMs);
    connect(&rebuild_, &QTimer::timeout, this, &PreviewWindow::Rebuild);
    connect(&editor, &DocumentEditor::changed, this, [this] {
        if (isVisible())
            rebuild_.start();
    });
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
    const int width = std::min(DefaultSize.width(), std::max(rightRoom, leftRoom));
    if (width < MinimumPlacedWidth)
        return; // the window manager knows better
    resize(width, DefaultSize.height());
    move(rightRoom >= leftRoom ? beside.right() + 1 : beside.left() - width, beside.top());
}

void PreviewWindow::closeEvent(QCloseEvent* event)
{
    if (const QString problem = WritePreviewGeometry(saveGeometry()); !problem.isEmpty())
        ShowMessage(ToCp1252(problem));
    QWidget::closeEvent(event);
}

void PreviewWindow::Rebuild()
{
    rebuild_.stop();
    built_ = builder_.Build(projectFile_());
    problem_->setText(builder_.Problem());
    problem_->setVisible(!builder_.Problem().isEmpty());
    if (built_) {
        ShowSelectedPage();
        return;
    }
    shownPage_.clear();
    view_->setHtml(QString());
}

void PreviewWindow::ShowSelectedPage()
{
    // A pending build shows the page when it is done.
    if (built_ && isVisible() && !rebuild_.isActive())
        ShowPage(builder_.PageFor(treePage_.selectedNode()));
}

void PreviewWindow::ShowPage(const QString& file)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly)) {
        problem_->setText(QStringLiteral("Die Seite „") + QDir::toNativeSeparators(file) +
                          QStringLiteral("“ der Vorschau konnte nicht gelesen werden: ") + source.errorString());
        problem_->show();
        return;
    }
    keptScroll_ = file == shownPage_ ? view_->page()->scrollPosition() : QPointF();
    shownPage_ = file;
    // Loaded as if it lay in the output folder, so that relative links and
    // pictures lead where they will lead from the generated menu.
    if (source.size() > ContentLimit)
        view_->load(QUrl::fromLocalFile(file));
    else
        view_->page()->setContent(source.readAll(), QByteArrayLiteral("text/html"), PlaceInOutputFolder(file));
}

QUrl PreviewWindow::PlaceInOutputFolder(const QString& file) const
{
    return QUrl::fromLocalFile(QDir(builder_.OutputFolder()).filePath(QFileInfo(file).fileName()));
}

void PreviewWindow::PageLoaded(bool ok)
{
    if (!ok)
        return;
    view_->page()->runJavaScript(QStringLiteral("window.scrollTo(%1, %2);").arg(keptScroll_.x()).arg(keptScroll_.y()),
                                 [this](const QVariant&) { emit pageShown(); });
}

bool PreviewWindow::FollowLink(const QUrl& link)
{
    if (link.hasFragment() && link.adjusted(QUrl::RemoveFragment) == PlaceInOutputFolder(shownPage_))
        return true;
    if (MenuNode* node = builder_.NodeOfLink(link))
        treePage_.SelectNode(*node);
    else if (link.isLocalFile())
        OpenWithShell(ToCp1252(link.toLocalFile()));
    else
        OpenAddress(link);
    return false;
}

} // namespace tw
