#include "shell/fileidentity.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace tw {

FileIdentity FileIdentity::Of(const QString& path)
{
    FileIdentity identity;
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return identity;
    // The time alone misses a change within the file system's resolution,
    // and the size alone one that keeps the length: the hash settles it.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return identity;
    identity.size = info.size();
    identity.modified = info.lastModified();
    identity.hash = hash.result();
    return identity;
}

} // namespace tw
