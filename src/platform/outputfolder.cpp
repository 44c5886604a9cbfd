#include "platform/outputfolder.h"

#include "platform/fileerrors.h"
#include "platform/paths.h"

#include <cstring>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace tw {
namespace {

// True when the open file holds exactly bytes.
bool Holds(int fd, std::string_view bytes)
{
    char buffer[65536];
    // Changes tend to show early (a title in the header): the first read is
    // short, so that a changed file is mostly not read at all.
    std::size_t chunk = 4096;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, chunk);
        chunk = sizeof buffer;
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || static_cast<std::size_t>(n) > bytes.size() ||
            std::memcmp(buffer, bytes.data(), static_cast<std::size_t>(n)) != 0)
            return n == 0 && bytes.empty();
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace

void OutputFolder::Open(const std::string& name, const std::string& errorPattern)
{
    const std::string path = folder_.empty() ? std::string(".") : folder_;
    fd_ = posix::Descriptor(::open(ToFsPath(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd_.Valid())
        ThrowFileError(errorPattern, folder_ + name, FileErrorReason(errno));
    RemoveLeftovers();
}

// A process killed between naming a complete temporary file and renaming it
// leaves that name behind; the next generation clears it away.
void OutputFolder::RemoveLeftovers() const
{
    posix::RemoveTemporariesOfEndedProcesses(fd_.Get());
}

bool OutputFolder::WriteUnlessUnchanged(const std::string& name, std::string_view bytes,
                                        const std::string& errorPattern)
{
    posix::IgnoreFileSizeSignal();
    if (!fd_.Valid())
        Open(name, errorPattern);
    const std::string fsName = ToFsPath(name).string();
    const auto fail = [&](const std::string& reason) { ThrowFileError(errorPattern, folder_ + name, reason); };

    struct stat status {};
    const posix::Descriptor existing(
        ::openat(fd_.Get(), fsName.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    const int openError = existing.Valid() ? 0 : errno;
    // Refused rather than replaced: a link that points into the folder
    // could be meant, and then the user decides what to do with it.
    if (openError == ELOOP)
        fail(SymbolicLinkReason);
    const bool exists = openError != ENOENT;
    if (exists) {
        // Unreadable but perhaps writable: the ordinary checks decide.
        if ((existing.Valid() ? ::fstat(existing.Get(), &status)
                              : ::fstatat(fd_.Get(), fsName.c_str(), &status, AT_SYMLINK_NOFOLLOW)) != 0)
            fail(FileErrorReason(errno));
        if (S_ISLNK(status.st_mode))
            fail(SymbolicLinkReason);
        if (S_ISREG(status.st_mode) && static_cast<std::size_t>(status.st_size) == bytes.size() && existing.Valid() &&
            Holds(existing.Get(), bytes))
            return false;
        if (const char* refusal = posix::RefusalReason(status, fd_.Get(), fsName.c_str()))
            fail(refusal);
    }

    std::string temporary;
    posix::Descriptor file(posix::OpenUnnamed(fd_.Get()));
    if (!file.Valid() && errno != EOPNOTSUPP)
        fail(FileErrorReason(errno));
    if (!file.Valid()) {
        const int error = posix::WithTemporaryName(
            [&](const std::string& candidate) {
                file = posix::Descriptor(
                    ::openat(fd_.Get(), candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
                return file.Valid() ? 0 : errno;
            },
            temporary);
        if (error != 0)
            fail(FileErrorReason(error));
    }
    // The named temporary file goes again on every failure below.
    const auto removeTemporary = [&] {
        if (!temporary.empty())
            ::unlinkat(fd_.Get(), temporary.c_str(), 0);
    };
    int error = posix::WriteAll(file.Get(), bytes);
    if (error == 0 && exists && ::fchmod(file.Get(), status.st_mode & 07777) != 0)
        error = errno;
    if (error == 0 && temporary.empty()) {
        // A new file is named directly; one to replace needs a name first.
        error = exists ? EEXIST : posix::LinkUnnamed(file.Get(), fd_.Get(), fsName);
        if (error == EEXIST)
            error = posix::WithTemporaryName(
                [&](const std::string& candidate) { return posix::LinkUnnamed(file.Get(), fd_.Get(), candidate); },
                temporary);
    }
    if (error == 0 && !temporary.empty() && ::renameat(fd_.Get(), temporary.c_str(), fd_.Get(), fsName.c_str()) != 0)
        error = errno;
    if (error != 0) {
        removeTemporary();
        fail(FileErrorReason(error));
    }
    if (const int closeError = file.Close())
        fail(FileErrorReason(closeError));
    return true;
}

} // namespace tw
