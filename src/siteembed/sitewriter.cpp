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
const char* const ReadPattern = "Die Seite %s kann nicht gelesen werden.";

std::string FsName(const std::string& cp1252Name)
{
    return ToFsPath(cp1252Name).string();
}

SiteFileIdentity IdentityOf(const struct stat& status)
{
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
    };
    return {true,
            static_cast<std::uint64_t>(status.st_dev),
            static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::uint64_t>(status.st_size),
            nanoseconds(status.st_mtim),
            nanoseconds(status.st_ctim),
            static_cast<std::uint32_t>(status.st_mode),
            static_cast<std::uint32_t>(status.st_uid)};
}

std::string TooLargeReason(std::size_t maxSize)
{
    return "Sie ist gr\xF6\xDF"
           "er als " +
           std::to_string(maxSize >> 20) + " MB";
}

} // namespace

SiteWriter::~SiteWriter()
{
    Discard();
}

void SiteWriter::Fail(const char* pattern, const std::string& sitePath, const std::string& reason)
{
    ThrowFileError(pattern, root_ + sitePath, reason);
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
        Fail(WritePattern, forPath, errno == ELOOP || errno == ENOTDIR ? SymbolicLinkReason : FileErrorReason(errno));
    return folders_.emplace(folder, posix::Descriptor(fd)).first->second.Get();
}

std::optional<std::string> SiteWriter::ReadNow(const std::string& sitePath, std::size_t maxSize,
                                               SiteFileIdentity* identity)
{
    const int folder = FolderOf(sitePath);
    const std::string name = FsName(ExtractFileName(sitePath));
    const posix::Descriptor file(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.Valid()) {
        if (errno == ENOENT) {
            if (identity)
                *identity = {};
            return std::nullopt;
        }
        Fail(ReadPattern, sitePath, errno == ELOOP ? SymbolicLinkReason : FileErrorReason(errno));
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0)
        Fail(ReadPattern, sitePath, FileErrorReason(errno));
    if (!S_ISREG(status.st_mode))
        Fail(ReadPattern, sitePath, NoRegularFileReason);
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size > maxSize)
        Fail(ReadPattern, sitePath, TooLargeReason(maxSize));
    if (identity)
        *identity = IdentityOf(status);
    // One byte more than the size asks for the end in the same call.
    std::string bytes;
    bytes.resize(size + 1);
    std::size_t have = 0;
    for (;;) {
        const ssize_t got = ::read(file.Get(), bytes.data() + have, bytes.size() - have);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail(ReadPattern, sitePath, FileErrorReason(errno));
        if (got == 0)
            break;
        have += static_cast<std::size_t>(got);
        if (have > maxSize)
            Fail(ReadPattern, sitePath, TooLargeReason(maxSize));
        if (have == bytes.size())
            bytes.resize(bytes.size() * 2);
    }
    bytes.resize(have);
    return bytes;
}

SiteFileIdentity SiteWriter::IdentityNow(const std::string& sitePath)
{
    struct stat status {};
    if (::fstatat(FolderOf(sitePath), FsName(ExtractFileName(sitePath)).c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return {};
    return IdentityOf(status);
}

std::string SiteWriter::Temporary(const std::string& sitePath, const std::string& bytes,
                                  const SiteFileIdentity* existing)
{
    const int folder = FolderOf(sitePath);
    const std::string name = FsName(ExtractFileName(sitePath));
    struct stat status {};
    bool exists = false;
    if (existing && existing->exists) {
        exists = true;
        status.st_mode = existing->mode;
        status.st_uid = existing->owner;
    } else {
        exists = ::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
    }
    if (exists) {
        if (const char* refusal = posix::RefusalReason(status, folder, name.c_str()))
            Fail(WritePattern, sitePath, S_ISLNK(status.st_mode) ? SymbolicLinkReason : refusal);
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
    const int mode = posix::CreationMode();
    if (error == 0 && exists && static_cast<int>(status.st_mode & 07777) != mode &&
        ::fchmod(file.Get(), status.st_mode & 07777) != 0)
        error = errno;
    if (error == 0)
        error = file.Close();
    if (error != 0) {
        if (!temporary.empty())
            ::unlinkat(folder, temporary.c_str(), 0);
        Fail(WritePattern, sitePath, FileErrorReason(error));
    }
    return temporary;
}

void SiteWriter::Stage(const std::string& sitePath, const SiteFileIdentity& before,
                       const std::optional<std::string>& after)
{
    FileChange change{sitePath, before, !after, {}, changes_.size(), {}};
    if (after)
        change.temporary = Temporary(sitePath, *after, &before);
    changes_.push_back(std::move(change));
}

void SiteWriter::Discard()
{
    for (const FileChange& change : changes_) {
        if (!change.temporary.empty())
            ::unlinkat(FolderOf(change.sitePath), change.temporary.c_str(), 0);
    }
    changes_.clear();
}

int SiteWriter::PutInPlace(int folder, const std::string& temporary, const std::string& name)
{
    return ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? 0 : errno;
}

std::vector<std::string> SiteWriter::Commit(const std::function<std::optional<std::string>(std::size_t)>& oldBytes)
{
    std::vector<std::string> skipped;
    std::vector<FileChange> done;
    for (std::size_t index = 0; index < changes_.size(); ++index) {
        FileChange& change = changes_[index];
        const int folder = FolderOf(change.sitePath);
        const std::string name = FsName(ExtractFileName(change.sitePath));
        // Checked again just before it is replaced.
        if (IdentityNow(change.sitePath) != change.before) {
            skipped.push_back(root_ + change.sitePath +
                              ": Die Seite wurde inzwischen ge\xE4ndert und bleibt, wie sie ist.");
            if (!change.temporary.empty())
                ::unlinkat(folder, change.temporary.c_str(), 0);
            continue;
        }
        const int error = change.temporary.empty() ? (::unlinkat(folder, name.c_str(), 0) == 0 ? 0 : errno)
                                                   : PutInPlace(folder, change.temporary, name);
        if (error != 0) {
            const std::string failed = change.sitePath;
            // What is not yet in place goes; what is goes back.
            changes_.erase(changes_.begin(), changes_.begin() + static_cast<std::ptrdiff_t>(index));
            Discard();
            changes_ = std::move(done);
            std::vector<FileChange> unrestored = Restore(oldBytes);
            restoreFailed_ = !unrestored.empty();
            std::string names;
            for (const FileChange& left : unrestored)
                names += " " + left.sitePath;
            changes_ = std::move(unrestored);
            const std::string reason =
                FileErrorReason(error) + (restoreFailed_ ? ". Nicht zur\xFC"
                                                           "ckgesetzt werden konnten:" +
                                                               names + " (--undo stellt sie wieder her)"
                                                         : ". Keine Seite wurde ge\xE4ndert");
            Fail(WritePattern, failed, reason);
        }
        change.temporary.clear();
        change.after = IdentityNow(change.sitePath);
        done.push_back(change);
    }
    changes_ = std::move(done);
    return skipped;
}

std::vector<FileChange> SiteWriter::Restore(const std::function<std::optional<std::string>(std::size_t)>& oldBytes)
{
    std::vector<FileChange> unrestored;
    for (const FileChange& change : changes_) {
        const int folder = FolderOf(change.sitePath);
        const std::string name = FsName(ExtractFileName(change.sitePath));
        int error = 0;
        if (!change.before.exists) {
            error = ::unlinkat(folder, name.c_str(), 0) == 0 ? 0 : errno;
        } else {
            try {
                const std::optional<std::string> old = oldBytes(change.place);
                const std::string temporary = old ? Temporary(change.sitePath, *old, nullptr) : std::string();
                error = old && ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0 ? 0 : EIO;
                if (error != 0 && !temporary.empty())
                    ::unlinkat(folder, temporary.c_str(), 0);
            } catch (const Error&) {
                error = EIO; // told by the caller with the page's name
            }
        }
        if (error != 0)
            unrestored.push_back(change);
    }
    return unrestored;
}

} // namespace tw
