#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tw {

// What a file looked like at one moment: enough to tell whether another
// program has written it since. A missing file has size -1.
struct FileIdentity {
    qint64 size = -1;
    QDateTime modified;
    QByteArray hash;

    static FileIdentity Of(const QString& path);
    // The files of a project together: a text project's settings and
    // variables files count as much as its menu file.
    static FileIdentity OfProject(const QString& path, int format);
    bool Exists() const { return size >= 0; }
    bool operator==(const FileIdentity&) const = default;

    // One line, to be kept beside a recovery copy; Parse gives a missing
    // file's identity for a line it cannot read.
    QByteArray Text() const;
    static FileIdentity Parse(const QByteArray& text);
};

// The files a project in this format is saved to.
QStringList ProjectFilePaths(const QString& path, int format);

} // namespace tw
