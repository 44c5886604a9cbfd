#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tw {

// The private folder of the preview: in the system's temporary folder, named
// with the process id, so that the folders of processes that ended without
// removing theirs (killed, or ended by a signal) can be told and are removed
// when the next one is made.
class PreviewFolder {
public:
    PreviewFolder();

    bool isValid() const { return folder_.isValid(); }
    QString errorString() const { return folder_.errorString(); }
    QString path() const { return folder_.path(); }
    QString filePath(const QString& name) const { return folder_.filePath(name); }

private:
    QTemporaryDir folder_;
};

} // namespace tw
