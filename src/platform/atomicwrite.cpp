#include "platform/atomicwrite.h"

#include "platform/error.h"
#include "platform/fileerrors.h"
#include "platform/paths.h"
#include "platform/posixfile.h"

#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace tw {
namespace {

namespace fs = std::filesystem;

// The file a path names once symbolic links in its last part are followed,
// so that a save through a link replaces the file it points to, in that
// file's own directory. A dangling link names the file it would create.
fs::path FollowLinks(const fs::path& path)
{
    fs::path current = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec)))
            return current;
        const fs::path target = fs::read_symlink(current, ec);
        if (ec)
            return current;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    throw Error(TooManyLinksReason);
}

// One target on its way: its folder, and its complete temporary file, which
// gets a name only once every file is complete.
class Pending {
public:
    explicit Pending(const FileToWrite& file) : file_(file) {}
    ~Pending()
    {
        if (!temporary_.empty())
            ::unlinkat(folder_.Get(), temporary_.c_str(), 0);
    }
    Pending(const Pending&) = delete;
    Pending& operator=(const Pending&) = delete;
    Pending(Pending&&) = default;

    void Write(bool syncToDisk)
    {
        Open();
        Check(posix::WriteAll(fd_.Get(), file_.bytes));
        if (keepMode_ && ::fchmod(fd_.Get(), mode_) != 0)
            Fail(errno);
        if (syncToDisk && ::fsync(fd_.Get()) != 0)
            Fail(errno);
    }

    void Name()
    {
        if (!temporary_.empty())
            return;
        Check(posix::WithTemporaryName(
            [this](const std::string& name) { return posix::LinkUnnamed(fd_.Get(), folder_.Get(), name); },
            temporary_));
    }

    void Replace(bool syncToDisk)
    {
        if (::renameat(folder_.Get(), temporary_.c_str(), folder_.Get(), name_.c_str()) != 0)
            Fail(errno);
        temporary_.clear();
        Check(fd_.Close());
        if (syncToDisk && ::fsync(folder_.Get()) != 0)
            Fail(errno);
    }

private:
    void Open()
    {
        fs::path target;
        try {
            target = FollowLinks(ToFsPath(file_.path));
        } catch (const Error& error) {
            Fail(error.what());
        }
        name_ = target.filename().string();
        const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        folder_ = posix::Descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!folder_.Valid())
            Fail(errno);
        posix::RemoveTemporariesOfEndedProcesses(folder_.Get());
        struct stat status {};
        if (::fstatat(folder_.Get(), name_.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
            if (const char* refusal = posix::RefusalReason(status, folder_.Get(), name_.c_str()))
                Fail(refusal);
            mode_ = status.st_mode & 07777;
            keepMode_ = static_cast<int>(mode_) != posix::CreationMode();
        } else if (errno != ENOENT) {
            Fail(errno);
        }
        fd_ = posix::Descriptor(posix::OpenUnnamed(folder_.Get()));
        if (fd_.Valid())
            return;
        if (errno != EOPNOTSUPP)
            Fail(errno);
        // Not every file system has unnamed files; the others get a named one.
        Check(posix::WithTemporaryName(
            [this](const std::string& name) {
                fd_ = posix::Descriptor(
                    ::openat(folder_.Get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
                return fd_.Valid() ? 0 : errno;
            },
            temporary_));
    }

    void Check(int error) const
    {
        if (error != 0)
            Fail(error);
    }
    [[noreturn]] void Fail(int error) const { Fail(FileErrorReason(error)); }
    [[noreturn]] void Fail(const std::string& reason) const { ThrowFileError(file_.errorPattern, file_.path, reason); }

    const FileToWrite& file_;
    posix::Descriptor folder_;
    posix::Descriptor fd_;
    std::string name_;
    std::string temporary_;
    mode_t mode_ = 0;
    bool keepMode_ = false;
};

} // namespace

void WriteFilesAtomically(const std::vector<FileToWrite>& files, bool syncToDisk)
{
    posix::IgnoreFileSizeSignal();
    std::vector<Pending> pending;
    pending.reserve(files.size());
    for (const FileToWrite& file : files)
        pending.emplace_back(file).Write(syncToDisk);
    // Every file is complete: only now do they get names and replace their
    // targets.
    for (Pending& p : pending)
        p.Name();
    for (Pending& p : pending)
        p.Replace(syncToDisk);
}

void WriteFileAtomically(const std::string& cp1252Path, const std::string& bytes, const std::string& errorPattern,
                         bool syncToDisk)
{
    WriteFilesAtomically({FileToWrite{cp1252Path, bytes, errorPattern}}, syncToDisk);
}

} // namespace tw
