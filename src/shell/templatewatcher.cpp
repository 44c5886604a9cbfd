#include "shell/templatewatcher.h"

#include "generator/templatesdir.h"
#include "guibase/qtcodec.h"

namespace tw {
namespace {

// Copying a set in makes a burst of changes; one report follows the last.
constexpr int SettleMs = 300;

} // namespace

TemplateFolderWatcher::TemplateFolderWatcher(QObject* parent, std::function<void()> changed)
    : QObject(parent), changed_(std::move(changed))
{
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&settle_, &QTimer::timeout, this, [this] {
        WatchSearchPath();
        changed_();
    });
    WatchSearchPath();
}

void TemplateFolderWatcher::WatchSearchPath()
{
    QStringList folders;
    for (const std::string& folder : TemplateSearchPath())
        folders.append(FromCp1252(folder));
    const QStringList watched = watcher_.directories();
    if (!watched.isEmpty())
        watcher_.removePaths(watched);
    if (!folders.isEmpty())
        watcher_.addPaths(folders);
}

} // namespace tw
