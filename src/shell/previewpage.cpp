#include "shell/previewpage.h"

#include "shell/previewscheme.h"

#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace tw {
namespace {

// How long after a click or key press a link counts as the user's.
constexpr qint64 UserInputMs = 1000;

// Run in every frame before the page's own scripts, in a world of its own
// that they cannot reach: a click that no input of the reader caused (a
// script's link.click(), also on the reader's press of a key or button)
// follows no link. The first listener of the capture phase cannot be
// stopped by the page.
QWebEngineScript ClickGuard()
{
    QWebEngineScript guard;
    guard.setName(QStringLiteral("treeweaver-click-guard"));
    guard.setWorldId(QWebEngineScript::ApplicationWorld);
    guard.setInjectionPoint(QWebEngineScript::DocumentCreation);
    guard.setRunsOnSubFrames(true);
    guard.setSourceCode(
        QStringLiteral("addEventListener('click', e => { if (!e.isTrusted) e.preventDefault(); }, true);"));
    return guard;
}

} // namespace

class PreviewPage::WindowStandIn : public QWebEnginePage {
public:
    WindowStandIn(const LinkHandler& onLink, QWebEngineProfile* profile, QObject* parent)
        : QWebEnginePage(profile, parent), onLink_(onLink)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        onLink_(url);
        deleteLater();
        return false;
    }

private:
    const LinkHandler& onLink_;
};

PreviewPage::PreviewPage(LinkHandler onLink, QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent), onLink_(std::move(onLink))
{
    QWebEngineSettings* options = settings();
    options->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    options->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    options->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    options->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    // Generated pages are Windows-1252 text; a page that does not say so is read as such.
    options->setDefaultTextEncoding(QStringLiteral("windows-1252"));
    scripts().insert(ClickGuard());
}

void PreviewPage::NoteUserInput()
{
    lastInput_.start();
}

bool PreviewPage::TakeUserInput()
{
    const bool recent = lastInput_.isValid() && lastInput_.elapsed() < UserInputMs;
    lastInput_.invalidate();
    return recent;
}

bool PreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    const bool ours = url.scheme() == QLatin1String(PreviewScheme);
    if (type == NavigationTypeLinkClicked)
        return TakeUserInput() && onLink_(url);
    // The window loads its pages itself; frames of a page may show others
    // of the preview. A script leads nowhere.
    if (type == NavigationTypeTyped || type == NavigationTypeReload)
        return ours && isMainFrame;
    return ours && !isMainFrame && type != NavigationTypeRedirect;
}

QWebEnginePage* PreviewPage::createWindow(WebWindowType)
{
    if (!TakeUserInput())
        return nullptr;
    return new WindowStandIn(onLink_, profile(), this);
}

} // namespace tw
