#include "platform/outputfolder.h"

#include "platform/fileerrors.h"
#include "platform/paths.h"
#include "platform/replacement.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace tw {
namespace {

// True when the file name of the folder, of size bytes.size(), holds
// exactly bytes; false also when it cannot be read.
bool Holds(int folderFd, const char* name, std::string_view bytes)
{
    const posix::Descriptor file(::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.Valid())
        return false;
    // Changes tend to show early (a title in the header): the first read is
    // short, so that a changed file is mostly not read whole. The rest comes
    // at once for a menu file, in pieces for a large one.
    std::size_t chunk = std::min<std::size_t>(bytes.size(), 4096);
    const std::unique_ptr<char[]> buffer(new char[std::min<std::size_t>(bytes.size(), std::size_t{1} << 20)]);
    while (!bytes.empty()) {
        const ssize_t n = ::read(file.Get(), buffer.get(), chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || std::memcmp(buffer.get(), bytes.data(), static_cast<std::size_t>(n)) != 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        chunk = std::min<std::size_t>(bytes.size(), std::size_t{1} << 20);
    }
    return true;
}

} // namespace

void OutputFolder::Open(const std::string& name, const std::string& errorPattern)
{
    const std::string path = folder_.empty() ? std::string(".") : folder_;
    fd_ = posix::Descriptor(::open(ToFsPath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd_.Valid())
        ThrowFileError(errorPattern, folder_ + name, FileErrorReason(errno));
    // What writers killed between naming a complete temporary file and
    // renaming it left behind.
    posix::RemoveLeftTemporaries(fd_.Get());
}

bool OutputFolder::WriteUnlessUnchanged(const std::string& name, std::string_view bytes,
                                        const std::string& errorPattern)
{
    if (!fd_.Valid())
        Open(name, errorPattern);
    const std::string fsName = ToFsPath(name).string();
    const auto fail = [&](const std::string& reason) { ThrowFileError(errorPattern, folder_ + name, reason); };
    const auto check = [&](int error) {
        if (error != 0)
            fail(FileErrorReason(error));
    };

    // Most files of a regeneration either keep their size and bytes or
    // change their size: the bytes are read only when the size is the same.
    struct stat status {};
    const bool exists = ::fstatat(fd_.Get(), fsName.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        check(errno);
    if (!exists) {
        // Nothing to replace: written in place, which costs a third of the
        // way through a temporary file. A killed run may leave a part, which
        // the next run replaces, as it differs.
        posix::Descriptor file(
            ::openat(fd_.Get(), fsName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        // Made by someone else meanwhile: that one is replaced as any other.
        if (!file.Valid() && errno == EEXIST)
            return WriteUnlessUnchanged(name, bytes, errorPattern);
        if (!file.Valid())
            check(errno);
        int error = posix::WriteAll(file.Get(), bytes);
        if (const int closeError = file.Close(); error == 0)
            error = closeError;
        if (error != 0)
            ::unlinkat(fd_.Get(), fsName.c_str(), 0);
        check(error);
        return true;
    }
    // Refused rather than replaced: a link that points into the folder
    // could be meant, and then the user decides what to do with it.
    if (S_ISLNK(status.st_mode))
        fail(SymbolicLinkReason);
    if (S_ISREG(status.st_mode) && static_cast<std::size_t>(status.st_size) == bytes.size() &&
        Holds(fd_.Get(), fsName.c_str(), bytes))
        return false;
    if (const char* refusal = posix::RefusalReason(status, fd_.Get(), fsName.c_str()))
        fail(refusal);
    posix::Replacement replacement(fd_.Get());
    check(replacement.Write(bytes, static_cast<int>(status.st_mode & 07777), false));
    check(replacement.Replace(fsName));
    check(replacement.Close());
    return true;
}

} // namespace tw
