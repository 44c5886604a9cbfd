#include "shell/previewpage.h"

#include "shell/previewscheme.h"

#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace tw {
namespace {

// Run before the page's own scripts, in a world of their own that they
// cannot reach. A click that no input of the reader caused (a script's
// link.click(), also on the reader's press of a key or button) follows no
// link; a click of the reader notes the link it landed on, which the
// preview takes when a link is to be followed. The first listener of the
// capture phase cannot be stopped by the page.
QWebEngineScript ClickGuard()
{
    QWebEngineScript guard;
    guard.setName(QStringLiteral("treeweaver-click-guard"));
    guard.setWorldId(QWebEngineScript::ApplicationWorld);
    guard.setInjectionPoint(QWebEngineScript::DocumentCreation);
    guard.setRunsOnSubFrames(true);
    guard.setSourceCode(QStringLiteral(
        "(() => { let clicked = '';"
        " addEventListener('click', e => {"
        "  if (!e.isTrusted) { e.preventDefault(); return; }"
        "  const link = e.composedPath().find(n => n instanceof Element && n.matches('a[href], area[href]'));"
        "  clicked = link ? link.href : ''; }, true);"
        " window.treeweaverTakeClickedLink = () => { const link = clicked; clicked = ''; return link; };"
        "})();"));
    return guard;
}

} // namespace

class PreviewPage::WindowStandIn : public QWebEnginePage {
public:
    WindowStandIn(PreviewPage& opener, QWebEngineProfile* profile) : QWebEnginePage(profile, &opener), opener_(opener)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override
    {
        opener_.FollowIfClicked(url);
        deleteLater();
        return false;
    }

private:
    PreviewPage& opener_;
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

void PreviewPage::FollowIfClicked(const QUrl& url)
{
    runJavaScript(QStringLiteral("treeweaverTakeClickedLink()"), QWebEngineScript::ApplicationWorld,
                  [this, url](const QVariant& clicked) {
                      if (!clicked.toString().isEmpty() && QUrl(clicked.toString()) == url && onLink_(url))
                          load(url);
                  });
}

bool PreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    const bool ours = url.scheme() == QLatin1String(PreviewScheme);
    // Followed, if at all, once the page tells where the reader clicked.
    if (type == NavigationTypeLinkClicked) {
        FollowIfClicked(url);
        return false;
    }
    // The window loads its pages itself, and an empty page when there is
    // nothing to show; frames of a page may show others of the preview. A
    // script leads nowhere.
    if (type == NavigationTypeTyped || type == NavigationTypeReload)
        return (ours || url == QUrl(QStringLiteral("about:blank"))) && isMainFrame;
    return ours && !isMainFrame && type != NavigationTypeRedirect;
}

QWebEnginePage* PreviewPage::createWindow(WebWindowType)
{
    return new WindowStandIn(*this, profile());
}

} // namespace tw
