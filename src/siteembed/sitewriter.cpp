#include "siteembed/sitewriter.h"

#include "platform/error.h"
#include "platform/fileerrors.h"
#include "platform/paths.h"
#include "siteembed/sitelinks.h"

#include <fcntl.h>
#include <unistd.h>

namespace tw {
namespace {

const char* const WritePattern = "Fehler beim Schreiben der Seite %s";

std::string FsName(const std::string& cp1252Name)
{
    return ToFsPath(cp1252Name).string();
}

} // namespace

void SiteWriter::Fail(const std::string& sitePath, const std::string& reason)
{
    ThrowFileError(WritePattern, root_ + sitePath, reason);
}

int SiteWriter::FolderOf(const std::string& sitePath)
{
    return OpenFolder(SiteFolderOf(sitePath), sitePath);
}

int SiteWriter::OpenFolder(const std::string& folder, const std::string& forPath)
{
    const auto known = folders_.find(folder);
    if (known != folders_.end())
        return known->second.Get();
    int fd = -1;
    if (folder.empty()) {
        // The site folder itself may well be reached through a link.
        fd = ::open(ToFsPath(root_.empty() ? "." : root_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } else {
        const std::string parent = SiteFolderOf(folder.substr(0, folder.size() - 1));
        const int parentFd = OpenFolder(parent, forPath);
        const std::string name = folder.substr(parent.size(), folder.size() - parent.size() - 1);
        fd = ::openat(parentFd, FsName(name).c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0)
        Fail(forPath, errno == ELOOP || errno == ENOTDIR ? SymbolicLinkReason : FileErrorReason(errno));
    return folders_.emplace(folder, posix::Descriptor(fd)).first->second.Get();
}

std::optional<std::string> SiteWriter::ReadNow(const std::string& sitePath)
{
    const int folder = FolderOf(sitePath);
    const std::string name = FsName(ExtractFileName(sitePath));
    const posix::Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid()) {
        if (errno == ENOENT)
            return std::nullopt;
        Fail(sitePath, errno == ELOOP ? SymbolicLinkReason : FileErrorReason(errno));
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        Fail(sitePath, FileErrorReason(errno));
    if (!S_ISREG(status.st_mode))
        Fail(sitePath, NoRegularFileReason);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail(sitePath, FileErrorReason(errno));
        if (got == 0)
            return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string SiteWriter::Temporary(int folder, const std::string& sitePath, const std::string& bytes)
{
    const std::string name = FsName(ExtractFileName(sitePath));
    struct stat status {};
    const bool exists = ::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists) {
        if (const char* refusal = posix::RefusalReason(status, folder, name.c_str()))
            Fail(sitePath, S_ISLNK(status.st_mode) ? SymbolicLinkReason : refusal);
    }
    std::string temporary;
    posix::Descriptor file;
    int error = posix::WithTemporaryName(
        [&](const std::string& candidate) {
            file = posix::Descriptor(
                ::openat(folder, candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            return file.Valid() ? 0 : errno;
        },
        temporary);
    if (error == 0)
        error = posix::WriteAll(file.Get(), bytes);
    // The page keeps who may read and write it.
    if (error == 0 && exists && ::fchmod(file.Get(), status.st_mode & 07777) != 0)
        error = errno;
    if (error == 0)
        error = file.Close();
    if (error != 0) {
        if (!temporary.empty())
            ::unlinkat(folder, temporary.c_str(), 0);
        Fail(sitePath, FileErrorReason(error));
    }
    return temporary;
}

int SiteWriter::PutInPlace(int folder, const std::string& temporary, const std::string& name)
{
    return ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? 0 : errno;
}

std::vector<std::string> SiteWriter::Apply(std::vector<FileChange>& changes)
{
    posix::IgnoreFileSizeSignal();
    std::vector<Pending> pending;
    const auto removeTemporaries = [&](std::size_t from) {
        for (std::size_t index = from; index < pending.size(); ++index) {
            if (!pending[index].temporary.empty())
                ::unlinkat(pending[index].folder, pending[index].temporary.c_str(), 0);
        }
    };
    try {
        for (const FileChange& change : changes) {
            Pending next{FolderOf(change.sitePath), FsName(ExtractFileName(change.sitePath)), {}};
            if (change.after)
                next.temporary = Temporary(next.folder, change.sitePath, *change.after);
            pending.push_back(std::move(next));
        }
    } catch (const Error&) {
        removeTemporaries(0);
        throw;
    }
    std::vector<std::string> skipped;
    std::vector<FileChange> done;
    std::vector<Pending> placed;
    for (std::size_t index = 0; index < changes.size(); ++index) {
        FileChange& change = changes[index];
        const Pending& file = pending[index];
        try {
            if (ReadNow(change.sitePath) != change.before) {
                skipped.push_back(root_ + change.sitePath +
                                  ": Die Seite wurde inzwischen ge\xE4ndert und bleibt, wie sie ist.");
                if (!file.temporary.empty())
                    ::unlinkat(file.folder, file.temporary.c_str(), 0);
                continue;
            }
            const int error = file.temporary.empty() ? (::unlinkat(file.folder, file.name.c_str(), 0) == 0 ? 0 : errno)
                                                     : PutInPlace(file.folder, file.temporary, file.name);
            if (error != 0)
                Fail(change.sitePath, FileErrorReason(error));
        } catch (const Error& error) {
            removeTemporaries(index);
            const std::string unrestored = Restore(done, placed);
            restoreFailed_ = !unrestored.empty();
            throw Error(std::string(error.what()) + (restoreFailed_
                                                         ? " Nicht zur\xFC"
                                                           "ckgesetzt werden konnten:" +
                                                               unrestored + " (--undo stellt sie wieder her)."
                                                         : " Keine Seite wurde ge\xE4ndert."));
        }
        done.push_back(std::move(change));
        placed.push_back(file);
    }
    changes = std::move(done);
    return skipped;
}

std::string SiteWriter::Restore(const std::vector<FileChange>& changes, const std::vector<Pending>& pending)
{
    std::string unrestored;
    for (std::size_t index = 0; index < changes.size(); ++index) {
        const FileChange& change = changes[index];
        const Pending& file = pending[index];
        int error = 0;
        if (!change.before) {
            error = ::unlinkat(file.folder, file.name.c_str(), 0) == 0 ? 0 : errno;
        } else {
            try {
                const std::string temporary = Temporary(file.folder, change.sitePath, *change.before);
                error = ::renameat(file.folder, temporary.c_str(), file.folder, file.name.c_str()) == 0 ? 0 : errno;
                if (error != 0)
                    ::unlinkat(file.folder, temporary.c_str(), 0);
            } catch (const Error&) {
                error = EIO; // told below with the page's name
            }
        }
        if (error != 0)
            unrestored += " " + change.sitePath;
    }
    return unrestored;
}

} // namespace tw
