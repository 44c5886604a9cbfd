#pragma once

#include "shell/previewfolder.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QUrl;

namespace tw {

class MenuNode;
class PageGenerator;
class TqzHTML;

// Generates the menu for the preview into a temporary folder of its own,
// never into the output folder, without message boxes, and knows which of
// its pages belongs to a menu item. Relative output names are taken from
// the project's folder, as "Quellcode erstellen" does.
class PreviewBuilder : public QObject {
    Q_OBJECT
public:
    explicit PreviewBuilder(TqzHTML& document);
    ~PreviewBuilder() override;

    // Generates every file of the menu now, leaving files alone that already
    // hold their bytes and removing the submenu files it no longer writes.
    // False when the generation failed: Problem then holds its messages,
    // one per line.
    bool Build(const QString& projectFile);
    const QString& Problem() const { return problem_; }

    // The document changed: the next page is made from a new copy of it.
    void DocumentChanged();
    // Writes the page that shows node (null for the main file) on a thread
    // of its own, from a copy of the document as it is now, and leaves the
    // other pages until they are asked for. pageBuilt follows, unless a
    // later request overtakes this one.
    void BuildPage(const QString& projectFile, const MenuNode* node);

    // The folder a real generation writes into. The preview's pages take
    // their relative links and pictures from there.
    const QString& OutputFolder() const { return outputFolder_; }
    QString MainFile() const;
    // The folder the preview's pages are generated into.
    QString Folder() const { return folder_.path(); }

    // The node whose page a link of the preview names: the root for the main
    // file, an item with children for its submenu file. Null for any other
    // address.
    MenuNode* NodeOfLink(const QUrl& link) const;

signals:
    // The page asked for last is written; page is empty and problem says
    // why when it could not be.
    void pageBuilt(const QString& page, const QString& problem);

private:
    struct Job {
        TqzHTML* copy = nullptr;
        std::string mainFile;
        std::vector<std::size_t> place;
        unsigned serial = 0;
    };

    // Takes the output folder and the main file's name from the settings;
    // false when the preview's folder is missing (Problem says so).
    bool PrepareNames(const QString& projectFile);
    void Work();
    // Deletes the copies that no job needs any more; on this thread, whose
    // pool their nodes came from.
    void DropUnusedCopies();

    TqzHTML& document_;
    PreviewFolder folder_;
    QString mainFileName_;
    QString outputFolder_;
    QString problem_;
    // Of the submenu files: the main file's, or the set's own.
    std::string submenuExt_;

    // Owned by this thread; the newest is the one new jobs use.
    std::vector<std::unique_ptr<TqzHTML>> copies_;
    bool copyCurrent_ = false;
    unsigned lastSerial_ = 0;

    // Shared with the worker.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Job> pending_;
    const TqzHTML* inUse_ = nullptr;
    bool stop_ = false;

    // The worker's own: the generator for the copy it worked on last, and
    // what went wrong when it was made.
    const TqzHTML* generatorCopy_ = nullptr;
    std::string generatorMainFile_;
    std::unique_ptr<PageGenerator> generator_;
    QStringList generatorProblem_;
    std::thread worker_;
};

} // namespace tw
