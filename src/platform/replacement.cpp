#include "platform/replacement.h"

#include "platform/ownerlock.h"

#include <memory>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace tw::posix {
namespace {

constexpr std::string_view TemporaryPrefix = ".tw";
constexpr std::string_view TemporarySuffix = ".tmp";

// The names TemporaryName makes, and the ones earlier versions made (with a
// process id and a dash).
bool IsTemporaryName(std::string_view name)
{
    if (!name.starts_with(TemporaryPrefix) || !name.ends_with(TemporarySuffix))
        return false;
    name.remove_prefix(TemporaryPrefix.size());
    name.remove_suffix(TemporarySuffix.size());
    if (name.empty() || name.size() > 24)
        return false;
    for (const char c : name) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == '-'))
            return false;
    }
    return true;
}

} // namespace

Replacement::Replacement(Replacement&& other) noexcept
    : folder_(other.folder_), fd_(std::move(other.fd_)), temporary_(std::exchange(other.temporary_, {}))
{
}

Replacement::~Replacement()
{
    if (!temporary_.empty())
        ::unlinkat(folder_, temporary_.c_str(), 0);
}

int Replacement::Write(std::string_view bytes, int mode, bool syncToDisk)
{
    if (const int error = OpenNamed())
        return error;
    if (const int error = WriteAll(fd_.Get(), bytes))
        return error;
    if (mode >= 0 && mode != CreationMode() && ::fchmod(fd_.Get(), static_cast<mode_t>(mode)) != 0)
        return errno;
    if (syncToDisk && ::fsync(fd_.Get()) != 0)
        return errno;
    return 0;
}

// A named file from the start: an unnamed one (O_TMPFILE) would need a link
// under a temporary name later, which costs more than it saves. Between
// making the file and taking its lock, a sweep of another process may take
// the file for a left one and delete it: then it is made again.
int Replacement::OpenNamed()
{
    for (int tries = 0; tries < 100; ++tries) {
        const int error = WithTemporaryName(
            [this](const std::string& name) {
                fd_ = Descriptor(
                    ::openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
                return fd_.Valid() ? 0 : errno;
            },
            temporary_);
        if (error != 0) {
            temporary_.clear();
            return error;
        }
        struct stat mine {};
        if (HoldAsOwner(fd_.Get()) == 0 && ::fstat(fd_.Get(), &mine) == 0 && mine.st_nlink > 0)
            return 0;
        fd_.Reset();
    }
    temporary_.clear();
    return EEXIST;
}

int Replacement::Replace(const std::string& name)
{
    if (::renameat(folder_, temporary_.c_str(), folder_, name.c_str()) != 0)
        return errno;
    temporary_.clear();
    return 0;
}

void RemoveLeftTemporaries(int folderFd)
{
    struct DirCloser {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    const int fd = ::dup(folderFd);
    const std::unique_ptr<DIR, DirCloser> dir(fd >= 0 ? ::fdopendir(fd) : nullptr);
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        if (IsTemporaryName(entry->d_name) && OwnerHasEnded(folderFd, entry->d_name))
            ::unlinkat(folderFd, entry->d_name, 0);
    }
}

} // namespace tw::posix
