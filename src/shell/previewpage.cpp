#include "shell/previewpage.h"

namespace tw {

class PreviewPage::WindowStandIn : public QWebEnginePage {
public:
    WindowStandIn(const LinkHandler& onLink, QObject* parent) : QWebEnginePage(parent), onLink_(onLink) {}

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

PreviewPage::PreviewPage(LinkHandler onLink, QObject* parent) : QWebEnginePage(parent), onLink_(std::move(onLink)) {}

bool PreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (type != NavigationTypeLinkClicked)
        return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
    return onLink_(url);
}

QWebEnginePage* PreviewPage::createWindow(WebWindowType)
{
    return new WindowStandIn(onLink_, this);
}

} // namespace tw
