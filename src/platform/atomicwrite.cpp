#include "platform/atomicwrite.h"

#include "platform/error.h"
#include "platform/fileerrors.h"
#include "platform/paths.h"
#include "platform/posixfile.h"
#include "platform/replacement.h"

#include <filesystem>
#include <optional>

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

// One target on its way: its folder, and its new bytes in a temporary file
// of their own.
class Pending {
public:
    explicit Pending(const FileToWrite& file) : file_(file) {}

    void Write(bool syncToDisk)
    {
        Open();
        replacement_.emplace(folder_.Get());
        Check(replacement_->Write(file_.bytes, mode_, syncToDisk));
    }
    void Replace()
    {
        Check(replacement_->Replace(name_));
        Check(replacement_->Close());
    }
    // Makes the renames of the folder last; earlier files of the same folder
    // did so already.
    void SyncFolder(const std::vector<Pending>& earlier) const
    {
        for (const Pending& other : earlier) {
            if (&other == this)
                break;
            if (other.folderPath_ == folderPath_)
                return;
        }
        if (::fsync(folder_.Get()) != 0)
            Fail(errno);
    }

private:
    void Open()
    {
        fs::path target;
        try {
            target = FollowLinks(file_.fsPath.empty() ? ToFsPath(file_.path) : file_.fsPath);
        } catch (const Error& error) {
            Fail(error.what());
        }
        name_ = target.filename().string();
        folderPath_ = target.has_parent_path() ? target.parent_path() : fs::path(".");
        folder_ = posix::Descriptor(::open(folderPath_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!folder_.Valid())
            Fail(errno);
        posix::RemoveLeftTemporaries(folder_.Get());
        struct stat status {};
        if (::fstatat(folder_.Get(), name_.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
            if (const char* refusal = posix::RefusalReason(status, folder_.Get(), name_.c_str()))
                Fail(refusal);
            mode_ = static_cast<int>(status.st_mode & 07777);
        } else if (errno != ENOENT) {
            Fail(errno);
        }
    }

    void Check(int error) const
    {
        if (error != 0)
            Fail(error);
    }
    [[noreturn]] void Fail(int error) const { Fail(FileErrorReason(error)); }
    [[noreturn]] void Fail(const std::string& reason) const { ThrowFileError(file_.errorPattern, file_.path, reason); }

    const FileToWrite& file_;
    fs::path folderPath_;
    posix::Descriptor folder_;
    // Declared after the folder, so that it goes first: it removes its
    // temporary file through the folder.
    std::optional<posix::Replacement> replacement_;
    std::string name_;
    int mode_ = -1;
};

} // namespace

void WriteFilesAtomically(const std::vector<FileToWrite>& files, bool syncToDisk)
{
    std::vector<Pending> pending;
    pending.reserve(files.size());
    for (const FileToWrite& file : files)
        pending.emplace_back(file).Write(syncToDisk);
    // Every file is complete (and on disk): only now do they replace their
    // targets, one rename after the other, so that a set is mixed only for
    // as long as these renames take.
    for (Pending& p : pending)
        p.Replace();
    if (syncToDisk) {
        for (const Pending& p : pending)
            p.SyncFolder(pending);
    }
}

void WriteFileAtomically(const std::string& cp1252Path, const std::string& bytes, const std::string& errorPattern,
                         bool syncToDisk)
{
    WriteFilesAtomically({FileToWrite{cp1252Path, bytes, errorPattern}}, syncToDisk);
}

} // namespace tw
