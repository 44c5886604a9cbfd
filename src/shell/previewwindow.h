#pragma once

#include <QElapsedTimer>
#include <QPointF>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QUrl;
class QWebEngineView;

namespace tw {

class Dialogs;
class DocumentEditor;
class MenuTreePage;
class PreviewBuilder;
class PreviewPage;
class PreviewSchemeHandler;
class ShellOpener;

// Before the application object exists: what Qt WebEngine needs from the
// start. Chromium refuses to run its sandbox for root, so for root alone
// the sandbox is switched off (unless the environment says otherwise).
void PrepareWebEngine();

// The window "Vorschau": the menu as a browser shows it, generated anew
// shortly after each change of the document, showing the page of the item
// selected in the tree; the page is made off the window's thread. A click on a submenu link selects that item; other
// links the user clicks open in the system's browser: the site's pages from
// the output folder, web and mail addresses as they are.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    // projectFile tells the name of the project file, whose folder relative
    // output names are taken from. Links leave the program through opener.
    PreviewWindow(DocumentEditor& editor, MenuTreePage& treePage, PreviewBuilder& builder, Dialogs& dialogs,
                  ShellOpener& opener, std::function<QString()> projectFile, QWidget* parent = nullptr);

    QWebEngineView* view() const { return view_; }
    // The line that says why there is nothing to show.
    QLabel* problemLine() const { return problem_; }
    // The file of the preview's folder shown last; empty while there is none.
    const QString& shownPage() const { return shownPage_; }

signals:
    // A page finished loading and is scrolled where its last version was.
    void pageShown();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The first time: beside the main window, on the side with more room.
    void PlaceBesideMainWindow();
    // Asks for the page of the selected item.
    void Rebuild();
    void PageBuilt(const QString& page, const QString& problem);
    void ShowSelectedPage();
    void ShowPage(const QString& file);
    // Shows the line that says what went wrong; hides it for no text.
    void ShowProblem(const QString& text);
    void PageLoaded(bool ok);
    // The preview's own menu in place of the browser's: what works here.
    void ShowContextMenu(const QPoint& position);
    // Where a link clicked in the preview leads; true lets the preview
    // follow it (an anchor in the page shown).
    bool FollowLink(const QUrl& link);
    // Where an address of the preview leads in the real output folder.
    QUrl PlaceInOutputFolder(const QUrl& link) const;

    MenuTreePage& treePage_;
    PreviewBuilder& builder_;
    Dialogs& dialogs_;
    ShellOpener& opener_;
    std::function<QString()> projectFile_;
    QWebEngineView* view_ = nullptr;
    PreviewPage* page_ = nullptr;
    PreviewSchemeHandler* pages_ = nullptr;
    QLabel* problem_ = nullptr;
    QTimer rebuild_;
    // Since the last page was asked for, and the least time until the next.
    QElapsedTimer sinceRequest_;
    int pause_ = 0;
    bool geometryRestored_ = false;
    QString shownPage_;
    std::optional<QPointF> keptScroll_;
    // The anchor of the submenu link just clicked, for the page it selects
    // when that is shown: a set may open its menu through it.
    QString linkFragment_;
};

} // namespace tw
