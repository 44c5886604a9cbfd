#pragma once

#include <QWebEnginePage>

#include <functional>

namespace tw {

// The web page of the preview window: a followed link does not load in the
// preview but goes to a handler, also one that asks for a window or frame of
// its own. The handler returns true to let the preview follow it after all.
class PreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    using LinkHandler = std::function<bool(const QUrl&)>;

    explicit PreviewPage(LinkHandler onLink, QObject* parent = nullptr);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    // A page that stands in for a new window: it hands on the first address
    // it is asked to load and goes.
    class WindowStandIn;

    LinkHandler onLink_;
};

} // namespace tw
