#pragma once

#include <QWebEnginePage>

#include <functional>

class QWebEngineProfile;

namespace tw {

// The web page of the preview window. It shows the preview's own addresses
// only (PreviewScheme); its scripts read no local file and reach no other
// address, and open no window. Nothing leaves the page but a link the
// reader's click landed on (in the page itself, not in a frame of it):
// that goes to a handler, also one that asks for a window or frame of its
// own. The handler returns true to let the preview follow it after all.
class PreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    using LinkHandler = std::function<bool(const QUrl&)>;

    // The profile must outlive the page.
    PreviewPage(LinkHandler onLink, QWebEngineProfile* profile, QObject* parent = nullptr);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    // A page that stands in for a new window: it hands on the first address
    // it is asked to load and goes.
    class WindowStandIn;

    // Hands url to the handler when the reader's last click landed on a
    // link to it; the click counts once.
    void FollowIfClicked(const QUrl& url);

    LinkHandler onLink_;
};

} // namespace tw
