#pragma once

#include <QElapsedTimer>
#include <QWebEnginePage>

#include <functional>

class QWebEngineProfile;

namespace tw {

// The web page of the preview window. It shows the preview's own addresses
// only (PreviewScheme); its scripts read no
// local file and reach no other address, and open no window. Nothing leaves
// the page but a link the user clicked: that goes to a handler, also one
// that asks for a window or frame of its own. The handler returns true to
// let the preview follow it after all.
class PreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    using LinkHandler = std::function<bool(const QUrl&)>;

    // The profile must outlive the page.
    PreviewPage(LinkHandler onLink, QWebEngineProfile* profile, QObject* parent = nullptr);

    // Called for every press of a mouse button or key in the view: a link
    // followed shortly after was the user's doing.
    void NoteUserInput();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    // A page that stands in for a new window: it hands on the first address
    // it is asked to load and goes.
    class WindowStandIn;

    // True once for a user input of the last moments.
    bool TakeUserInput();

    LinkHandler onLink_;
    QElapsedTimer lastInput_;
};

} // namespace tw
