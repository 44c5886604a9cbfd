#include "shell/previewfolder.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <csignal>

#include <unistd.h>

namespace tw {
namespace {

const QString Prefix = QStringLiteral("treeweaver-preview-");

// The folders of ended processes; what cannot be removed (another user's,
// say) stays for its owner.
void RemoveLeftFolders()
{
    const QDir temporary(QDir::tempPath());
    const auto folders = temporary.entryInfoList({Prefix + QStringLiteral("*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders) {
        const QString rest = folder.fileName().mid(Prefix.size());
        bool number = false;
        const qint64 pid = rest.section(QLatin1Char('-'), 0, 0).toLongLong(&number);
        if (!number || pid <= 0 || folder.isSymLink() || folder.ownerId() != ::geteuid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            QDir(folder.filePath()).removeRecursively();
    }
}

QString Template()
{
    RemoveLeftFolders();
    return QDir(QDir::tempPath()).filePath(Prefix + QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
}

} // namespace

PreviewFolder::PreviewFolder() : folder_(Template()) {}

} // namespace tw
