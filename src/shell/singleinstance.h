#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace tw {

class Tmainform;

// One window per user session: a second start hands its project to the
// program already running, which raises its window and opens the project.

// Where the running program of this display listens: in $XDG_RUNTIME_DIR,
// which belongs to the user's session, or else under a name of the user's
// own in the temporary folder.
QString SessionServerName();

enum class HandOver {
    NoProgram, // nobody listens: this start shows the window
    Done,      // the running program took the project
    NoAnswer,  // a program listens but did not confirm
};

// project: an absolute path, or empty to only bring the window forward.
HandOver HandToRunningProgram(const QString& serverName, const QString& project);

// Listens for later starts and opens what they hand over in the window.
class SessionServer : public QObject {
    Q_OBJECT
public:
    SessionServer(const QString& serverName, Tmainform& window);

private:
    void Receive(QLocalSocket& connection);
    void Open(const QString& project);

    Tmainform& window_;
    QLocalServer server_;
};

} // namespace tw
