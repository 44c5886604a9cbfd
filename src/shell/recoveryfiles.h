#pragma once

#include "shell/fileidentity.h"

#include <QDateTime>
#include <QString>

#include <string>
#include <vector>

namespace tw {

// The user's folder for recovery copies: $XDG_STATE_HOME/treeweaver, or
// ~/.local/state/treeweaver.
QString RecoveryFolder();

// One recovery copy: the project as binary V1.1 bytes and what the window
// needs to show it again.
struct RecoveryCopy {
    QString fileName; // the project file's path, empty when never saved
    int format = 1;
    QDateTime written;
    // The project's files as they were loaded or saved last: a restore
    // that would write over what another program saved since asks first.
    FileIdentity identity;
    std::string bytes;
};

// The recovery files of one running program, under a name no other program
// gets (process ids repeat across containers and after restarts). While the
// program runs it holds a lock on its own name, so that another start never
// offers a copy of a program that is still running.
class RecoveryFiles {
public:
    explicit RecoveryFiles(const QString& folder);
    ~RecoveryFiles();
    RecoveryFiles(const RecoveryFiles&) = delete;
    RecoveryFiles& operator=(const RecoveryFiles&) = delete;

    // Replaces this program's copy atomically; an error text, or empty.
    QString Write(const RecoveryCopy& copy) const;
    void Remove() const;

    // The copies of programs that ended without removing theirs, oldest first.
    struct Left {
        QString base; // path without extension
        RecoveryCopy copy;
    };
    std::vector<Left> LeftBehind() const;
    // Removes a left-behind copy (after it was restored or discarded).
    static void Remove(const QString& base);

private:
    QString folder_;
    QString base_;
    int lock_ = -1;
};

} // namespace tw
