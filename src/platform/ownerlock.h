#pragma once

// Whether the process that made a file still runs, told by a lock it holds
// on the file for as long as it needs it. Unlike a process id in the name,
// the lock cannot be mistaken: it goes with the process, also when process
// ids repeat or differ (a container, a PID namespace, another machine on a
// shared folder).

namespace tw::posix {

// Takes the lock on an open file for this process; 0 or the errno value.
// It lasts until the last descriptor of this opening is closed.
int HoldAsOwner(int fd);

// True when nobody holds the lock on the file name of the folder (AT_FDCWD
// for a path): its maker has ended or let it go. A file that is not there
// has no maker to wait for; one that cannot be opened to find out is
// taken as held.
bool OwnerHasEnded(int folderFd, const char* name);

} // namespace tw::posix
