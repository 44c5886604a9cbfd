#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/posixfile.h"

#include <fcntl.h>
#include <unistd.h>

namespace tw {
namespace {

namespace fs = std::filesystem;

const char* const CannotOpenPattern = "Die Datei %s kann nicht ge\xF6"
                                      "ffnet werden.";
const char* const CannotReadPattern = "Fehler beim Lesen der Datei %s";

// Reads up to maxBytes from a descriptor opened on path (cp1252 for
// messages); what is no regular file is refused before anything is read.
std::string ReadOpened(posix::Descriptor fd, const std::string& path, std::size_t maxBytes)
{
    if (!fd.Valid())
        ThrowFileError(CannotOpenPattern, path, FileErrorReason(errno));
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        ThrowFileError(CannotOpenPattern, path, S_ISDIR(st.st_mode) ? IsDirectoryReason : NoRegularFileReason);
    std::string bytes;
    bytes.reserve(std::min(static_cast<std::size_t>(st.st_size), maxBytes));
    char buffer[65536];
    while (bytes.size() < maxBytes) {
        const ssize_t n = ::read(fd.Get(), buffer, std::min(sizeof buffer, maxBytes - bytes.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowFileError(CannotReadPattern, path, FileErrorReason(errno));
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

// Non-blocking, so that opening a FIFO does not wait for a writer.
constexpr int ReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

} // namespace

std::string ReadFileBytes(const std::string& cp1252Path)
{
    return ReadOpened(posix::Descriptor(::open(ToFsPath(cp1252Path).c_str(), ReadFlags)), cp1252Path,
                      std::string::npos);
}

std::string ReadFileHead(const fs::path& path, std::size_t maxBytes)
{
    return ReadOpened(posix::Descriptor(::open(path.c_str(), ReadFlags)), FromFsPath(path), maxBytes);
}

std::optional<std::string> ReadFileInFolder(const std::string& cp1252Folder, const std::string& name)
{
    const std::string path = cp1252Folder + name;
    const posix::Descriptor folder(
        ::open(ToFsPath(cp1252Folder.empty() ? "." : cp1252Folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid())
        ThrowFileError(CannotOpenPattern, path, FileErrorReason(errno));
    const std::string fsName = ToFsPath(name).string();
    posix::Descriptor file(::openat(folder.Get(), fsName.c_str(), ReadFlags | O_NOFOLLOW));
    if (!file.Valid() && errno == ENOENT)
        return std::nullopt;
    if (!file.Valid() && errno == ELOOP) {
        // A link to another file of the folder is how one file serves under
        // two names; a link out of the folder is refused.
        std::error_code error;
        const fs::path inside = fs::canonical(ToFsPath(cp1252Folder.empty() ? "." : cp1252Folder), error);
        const fs::path target = fs::canonical(ToFsPath(path), error);
        if (error)
            return std::nullopt; // a dangling link, like a missing file
        if (target.parent_path() != inside)
            ThrowFileError(CannotOpenPattern, path,
                           "Sie verweist auf eine Datei au\xDF"
                           "erhalb ihres Ordners");
        file = posix::Descriptor(::openat(folder.Get(), target.filename().c_str(), ReadFlags | O_NOFOLLOW));
    }
    return ReadOpened(std::move(file), path, std::string::npos);
}

} // namespace tw
