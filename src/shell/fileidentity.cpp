#include "shell/fileidentity.h"

#include "projectfiles/projectfiles.h"
#include "shell/projectfilenames.h"

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

FileIdentity FileIdentity::OfProject(const QString& path, int format)
{
    const QStringList paths = ProjectFilePaths(path, format);
    FileIdentity project = Of(paths.front());
    if (paths.size() == 1 || !project.Exists())
        return project;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& file : paths) {
        const FileIdentity part = file == paths.front() ? project : Of(file);
        hash.addData(QByteArray::number(part.size) + part.hash);
        if (file != paths.front() && part.Exists()) {
            project.size += part.size;
            project.modified = std::max(project.modified, part.modified);
        }
    }
    project.hash = hash.result();
    return project;
}

QByteArray FileIdentity::Text() const
{
    return QByteArray::number(size) + ' ' + QByteArray::number(modified.toMSecsSinceEpoch()) + ' ' + hash.toHex();
}

FileIdentity FileIdentity::Parse(const QByteArray& text)
{
    const QList<QByteArray> fields = text.split(' ');
    FileIdentity identity;
    bool sizeOk = false;
    bool timeOk = false;
    if (fields.size() != 3)
        return identity;
    const qint64 size = fields[0].toLongLong(&sizeOk);
    const qint64 time = fields[1].toLongLong(&timeOk);
    if (!sizeOk || !timeOk || size < 0)
        return identity;
    identity.size = size;
    identity.modified = QDateTime::fromMSecsSinceEpoch(time);
    identity.hash = QByteArray::fromHex(fields[2]);
    return identity;
}

QStringList ProjectFilePaths(const QString& path, int format)
{
    if (format != pfText)
        return {path};
    return {path, ChangeExtension(path, QStringLiteral(".tws")), ChangeExtension(path, QStringLiteral(".twv"))};
}

} // namespace tw
