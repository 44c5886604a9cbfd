#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <functional>

namespace tw {

// Watches the folders of template sets while the program runs and reports,
// once things settle, that sets were added, removed or renamed, so that a
// set copied in appears without a restart.
class TemplateFolderWatcher : public QObject {
    Q_OBJECT
public:
    TemplateFolderWatcher(QObject* parent, std::function<void()> changed);

private:
    // The search path is read anew: a folder may have come into being.
    void WatchSearchPath();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    std::function<void()> changed_;
};

} // namespace tw
