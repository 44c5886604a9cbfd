#include "platform/ownerlock.h"

#include "platform/posixfile.h"

#include <fcntl.h>
#include <sys/file.h>

namespace tw::posix {

int HoldAsOwner(int fd)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
}

bool OwnerHasEnded(int folderFd, const char* name)
{
    const Descriptor file(::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.Valid())
        return errno == ENOENT;
    return HoldAsOwner(file.Get()) == 0;
}

} // namespace tw::posix
