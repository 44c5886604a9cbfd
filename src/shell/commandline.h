#pragma once

#include <QString>
#include <QStringList>

namespace tw {

// Reads the window's command line, "treeweaver [PROJEKT]". For --help and
// --version (and for a command line it does not understand) it prints its
// answer and ends the program. The project comes back as an absolute path,
// empty when none is named.
QString ProjectFromCommandLine(const QStringList& arguments);

// True when the command line asks only for the help or the version: those
// answer on the terminal and need no display to show a window on.
bool AsksOnlyForText(int argc, char* argv[]);

} // namespace tw
