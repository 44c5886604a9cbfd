#pragma once

#include "shell/pagelistmodel.h"
#include "siteembed/embedrun.h"

#include <QDialog>

#include <map>
#include <optional>
#include <set>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace tw {

class Dialogs;
class DiffView;
class MenuNode;
class ShellOpener;
class SiteCheckList;
class TqzHTML;

// Writes the menu into the pages of the project's site. It lists every page
// with what writing would do to it, shows the difference of the selected
// page and writes only what was shown: a page that changed since is left as
// it is. It also undoes the last run and checks the menu's links.
class SiteWindow : public QDialog {
    Q_OBJECT
public:
    SiteWindow(TqzHTML& document, const QString& projectFile, Dialogs& dialogs, ShellOpener& opener,
               QWidget* parent = nullptr);

    const QString& ProjectFile() const { return projectFile_; }
    QString SiteFolder() const;
    // Takes another site folder, remembers it for the project and reads it.
    void SetSiteFolder(const QString& folder);
    // Reads every page again and shows what writing would do.
    void Reload();
    // The selected pages without markers get them, shown as a difference first.
    void InsertMarkersIntoSelected();
    void Write();
    void UndoLastRun();
    void CheckLinks();

    const PageListModel& Pages() const { return pages_; }
    QTableView* PageView() const { return pageView_; }
    DiffView* Difference() const { return diff_; }
    SiteCheckList* LinkFaults() const { return faults_; }
    QLabel* StatusLabel() const { return status_; }
    QCheckBox* FromRootOption() const { return fromRoot_; }

signals:
    // Every page that could be written holds the current menu.
    void written();
    // A double click in the link check asks for this item in the tree.
    void itemChosen(tw::MenuNode* node);

private:
    void CreateControls();
    std::optional<EmbedOptions> Options();
    // What writing would do to every page; their differences go to diffs_.
    std::vector<PageReport> Plan();
    void ShowSelectedPage();
    void ChooseFolder();
    void OpenPageFolder(const QString& sitePath);
    void Tell(const QString& text);

    TqzHTML& document_;
    QString projectFile_;
    Dialogs& dialogs_;
    ShellOpener& opener_;
    PageListModel pages_;
    // The difference of every page that changes, in the page's bytes.
    std::map<std::string, std::string> diffs_;
    std::set<std::string> insertInto_;

    QLineEdit* folder_ = nullptr;
    QCheckBox* fromRoot_ = nullptr;
    QCheckBox* breadcrumb_ = nullptr;
    QCheckBox* prevNext_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableView* pageView_ = nullptr;
    DiffView* diff_ = nullptr;
    SiteCheckList* faults_ = nullptr;
    QPushButton* insert_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace tw
