#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace tw {

// What a file looked like at one moment: enough to tell whether another
// program has written it since. A missing file has size -1.
struct FileIdentity {
    qint64 size = -1;
    QDateTime modified;
    QByteArray hash;

    static FileIdentity Of(const QString& path);
    bool Exists() const { return size >= 0; }
    bool operator==(const FileIdentity&) const = default;
};

} // namespace tw
