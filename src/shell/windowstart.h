#pragma once

#include "shell/projectdrop.h"
#include "shell/singleinstance.h"
#include "shell/terminationsignals.h"

#include <QString>

class QGuiApplication;

namespace tw {

class Dialogs;
class Tmainform;

// Once the window shows: offers the work an ended program left behind, then
// opens the project named on the command line, unless that is the project
// just restored (opening it again would put the file over the work).
void StartWork(Tmainform& window, const QString& project);

// What the window's process keeps around it while it runs: recovery copies
// of unsaved work, written at once when the process is ended from outside or
// the session logs out; the hand-over from later starts; dropped projects.
class WindowProcess {
public:
    WindowProcess(QGuiApplication& application, Tmainform& window, Dialogs& dialogs, const SessionLock& sessionLock);
    // Shows the window and starts the work on the project named on the
    // command line.
    void Start(const QString& project);

private:
    Tmainform& window_;
    TerminationSignals terminationSignals_;
    SessionServer sessionServer_;
    ProjectDrop projectDrop_;
};

} // namespace tw
