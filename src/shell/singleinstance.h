#pragma once

#include "platform/posixfile.h"

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace tw {

class Tmainform;

// One window per user session: a second start hands its project to the
// program already running, which raises its window and opens the project.

// Where the running program of this display listens: in $XDG_RUNTIME_DIR,
// or else in a folder of the user's own in the temporary folder; both only
// when the user alone can write there (someone else could take the name
// first and receive every project handed over). Empty, after a word on
// stderr, when there is no such folder: every start then shows a window.
QString SessionServerName();

// The lock beside the server's socket: the one start of a display that
// holds it shows the window, for as long as it runs. Without a lock file
// (after a word on stderr) the server name is empty: nothing is handed over.
class SessionLock {
public:
    explicit SessionLock(QString serverName);

    const QString& ServerName() const { return serverName_; }
    // Takes the lock unless another program holds it; true when held.
    bool Take();

private:
    QString serverName_;
    posix::Descriptor lock_;
};

enum class HandOver {
    NoProgram, // nobody runs: this start holds the lock and shows the window
    Done,      // the running program took the project
    NoAnswer,  // a program runs but did not confirm in time; it opens nothing
};

// project: an absolute path, or empty to only bring the window forward.
HandOver HandToRunningProgram(SessionLock& lock, const QString& project);

// Listens for later starts and opens what they hand over in the window;
// lock is held (HandToRunningProgram answered NoProgram).
class SessionServer : public QObject {
    Q_OBJECT
public:
    SessionServer(const SessionLock& lock, Tmainform& window);

private:
    void Accept(QLocalSocket& connection);
    void Show(const QString& project);
    void Open(const QString& project);

    Tmainform& window_;
    QLocalServer server_;
};

} // namespace tw
