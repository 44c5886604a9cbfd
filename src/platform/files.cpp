#include "platform/files.h"

#include "platform/error.h"
#include "platform/paths.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tw {
namespace {

namespace fs = std::filesystem;

const char* const NoRegularFile = "Sie ist keine gew\xF6hnliche Datei";
const char* const IsDirectory = "Der Pfad bezeichnet einen Ordner";
const char* const ReadOnlyFile = "Die Datei ist schreibgesch\xFCtzt";
const char* const TooManyLinks = "Zu viele symbolische Verkn\xFCpfungen";

// What a target file is to hold; the bytes are not copied.
struct Target {
    const std::string& path;
    std::string_view bytes;
    const std::string& errorPattern;
};

// A failure of one file: its message and the reason.
template <typename File>
[[noreturn]] void Fail(const File& file, const std::string& reason)
{
    throw Error(WithReason(FormatMessage(file.errorPattern, file.path), reason));
}

#ifndef _WIN32

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
    throw Error(TooManyLinks);
}

#endif

// A short name for a temporary file, so that it fits beside a target whose
// own name already uses the whole length a name may have.
std::string TemporaryName()
{
    static std::mutex mutex;
    static std::mt19937_64 random{static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^ reinterpret_cast<std::uintptr_t>(&mutex))};
    const std::lock_guard lock(mutex);
    char name[32];
    std::snprintf(name, sizeof name, ".tw%012llx.tmp", static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    return name;
}

#ifndef _WIN32

// A write beyond the file-size limit raises SIGXFSZ, which ends the process
// by default; ignored, the write fails with EFBIG and is reported.
void IgnoreFileSizeSignal()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

// One target on its way: the descriptor of its temporary file, which has a
// name only from the moment it is linked into the directory.
struct Pending {
    const Target* file = nullptr;
    fs::path target;
    fs::path temp;
    int fd = -1;
    bool named = false;
    mode_t mode = 0;
    bool keepMode = false;
};

void Discard(Pending& p)
{
    if (p.fd >= 0)
        ::close(p.fd);
    p.fd = -1;
    if (p.named)
        ::unlink(p.temp.c_str());
    p.named = false;
}

// The mode a new file gets (0666 less the umask), read once from the
// process status; -1 when unknown.
int CreationMode()
{
    static const int mode = [] {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("Umask:", 0) == 0)
                return 0666 & ~static_cast<int>(std::strtol(line.c_str() + 6, nullptr, 8));
        }
        return -1;
    }();
    return mode;
}

// Refuses a target that cannot be replaced and notes the mode to keep.
void CheckTarget(Pending& p, const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        Fail(*p.file, IsDirectory);
    if (!S_ISREG(st.st_mode))
        Fail(*p.file, NoRegularFile);
    // A file its owner made read-only is not replaced, whatever the
    // directory would allow. For the owner the mode bit says it all.
    if ((st.st_mode & S_IWUSR) == 0 || (st.st_uid != ::geteuid() && ::access(p.target.c_str(), W_OK) != 0))
        Fail(*p.file, ReadOnlyFile);
    p.mode = st.st_mode & 07777;
    p.keepMode = static_cast<int>(p.mode) != CreationMode();
}

// Opens the temporary file beside the target. An unnamed file (O_TMPFILE)
// disappears by itself when the program is killed before it is complete.
void OpenTemporary(Pending& p)
{
    const fs::path directory = p.target.has_parent_path() ? p.target.parent_path() : fs::path(".");
#ifdef O_TMPFILE
    p.fd = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (p.fd >= 0)
        return;
    // Not every file system has unnamed files; the others get a named one.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        Fail(*p.file, FileErrorReason(errno));
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        p.temp = directory / TemporaryName();
        p.fd = ::open(p.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (p.fd >= 0) {
            p.named = true;
            return;
        }
        if (errno != EEXIST)
            Fail(*p.file, FileErrorReason(errno));
    }
    Fail(*p.file, FileErrorReason(EEXIST));
}

// Checks the target when it exists.
void CheckExistingTarget(Pending& p)
{
    struct stat st {};
    if (::stat(p.target.c_str(), &st) == 0)
        CheckTarget(p, st);
    else if (errno != ENOENT)
        Fail(*p.file, FileErrorReason(errno));
}

// The file the target path names; with followLinks, symbolic links in its
// last part are followed.
void ResolveTarget(Pending& p, bool followLinks = true)
{
    try {
        p.target = ToFsPath(p.file->path);
        if (followLinks)
            p.target = FollowLinks(p.target);
    } catch (const Error& error) {
        Fail(*p.file, error.what());
    }
}

// True when the target is a regular file holding exactly bytes. An existing
// target is checked on the way, with the descriptor that compares it, and a
// target that is a symbolic link is resolved.
bool HoldsAlready(Pending& p)
{
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    int fd = ::open(p.target.c_str(), flags | O_NOFOLLOW);
    if (fd < 0 && errno == ELOOP) {
        // A symbolic link: the file it points to is compared and replaced.
        ResolveTarget(p);
        fd = ::open(p.target.c_str(), flags);
    }
    if (fd < 0) {
        if (errno == ENOENT)
            return false;
        // Unreadable but perhaps writable: the ordinary checks decide.
        CheckExistingTarget(p);
        return false;
    }
    struct stat st {};
    const bool known = ::fstat(fd, &st) == 0;
    const int statError = errno;
    bool same = known && S_ISREG(st.st_mode) && static_cast<std::size_t>(st.st_size) == p.file->bytes.size();
    if (same) {
        char buffer[65536];
        std::string_view rest = p.file->bytes;
        // Changes tend to show early (a title in the header): the first read
        // is short, so that a changed file is mostly not read at all.
        std::size_t chunk = 4096;
        for (;;) {
            const ssize_t n = ::read(fd, buffer, chunk);
            chunk = sizeof buffer;
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0 || static_cast<std::size_t>(n) > rest.size() ||
                std::memcmp(buffer, rest.data(), static_cast<std::size_t>(n)) != 0) {
                same = n == 0 && rest.empty();
                break;
            }
            rest.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    if (same)
        return true;
    if (!known)
        Fail(*p.file, FileErrorReason(statError));
    CheckTarget(p, st);
    return false;
}

void Write(Pending& p, bool syncToDisk)
{
    const std::string_view bytes = p.file->bytes;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(p.fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail(*p.file, FileErrorReason(errno));
        written += static_cast<std::size_t>(n);
    }
    if (p.keepMode && ::fchmod(p.fd, p.mode) != 0)
        Fail(*p.file, FileErrorReason(errno));
    if (syncToDisk && ::fsync(p.fd) != 0)
        Fail(*p.file, FileErrorReason(errno));
}

// Gives an unnamed temporary file its name beside the target.
void Link(Pending& p)
{
    if (p.named)
        return;
    const std::string self = "/proc/self/fd/" + std::to_string(p.fd);
    const fs::path directory = p.target.has_parent_path() ? p.target.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        p.temp = directory / TemporaryName();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, p.temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            p.named = true;
            return;
        }
        if (errno != EEXIST)
            Fail(*p.file, FileErrorReason(errno));
    }
    Fail(*p.file, FileErrorReason(EEXIST));
}

void SyncDirectory(const fs::path& target)
{
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Names the complete temporary file as the target.
void Replace(Pending& p, bool syncToDisk)
{
    if (::rename(p.temp.c_str(), p.target.c_str()) != 0)
        Fail(*p.file, FileErrorReason(errno));
    p.named = false;
    ::close(p.fd);
    p.fd = -1;
    if (syncToDisk)
        SyncDirectory(p.target);
}

#endif

// The reason of a failed std::filesystem call.
std::string ReasonOf(const std::error_code& ec)
{
#ifdef _WIN32
    return ec.message();
#else
    return FileErrorReason(ec.value());
#endif
}

} // namespace

std::string FileErrorReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
        return "Der Ordner oder die Datei ist nicht vorhanden";
    case EACCES:
    case EPERM:
        return "Keine Berechtigung";
    case ENOSPC:
        return "Der Datentr\xE4ger ist voll";
#ifdef EDQUOT
    case EDQUOT:
        return "Das Speicherkontingent ist ersch\xF6pft";
#endif
    case EFBIG:
        return "Die zul\xE4ssige Dateigr\xF6\xDF"
               "e ist \xFC"
               "berschritten";
    case EROFS:
        return "Der Datentr\xE4ger ist schreibgesch\xFCtzt";
    case ENAMETOOLONG:
        return "Der Dateiname ist zu lang";
    case ENOTDIR:
        return "Ein Teil des Pfades ist kein Ordner";
    case EISDIR:
        return IsDirectory;
    case ELOOP:
        return TooManyLinks;
    case EIO:
        return "Ein-/Ausgabefehler des Datentr\xE4gers";
    case EMFILE:
    case ENFILE:
        return "Zu viele offene Dateien";
    case EXDEV:
        return "Die Datei liegt auf einem anderen Datentr\xE4ger";
    case EBUSY:
    case ETXTBSY:
        return "Die Datei wird gerade benutzt";
    default:
        return "Systemfehler " + std::to_string(errorNumber);
    }
}

std::string WithReason(const std::string& text, const std::string& reason)
{
    if (!text.empty() && text.back() == '.')
        return text + " " + reason + ".";
    return text + ": " + reason + ".";
}

std::string ReadFileBytes(const std::string& cp1252Path)
{
    const fs::path path = ToFsPath(cp1252Path);
    const std::string cannotOpen = FormatMessage("Die Datei %s kann nicht ge\xF6"
                                                 "ffnet werden.",
                                                 cp1252Path);
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        throw Error(WithReason(cannotOpen, NoRegularFile));
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        throw Error(cannotOpen);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw Error(FormatMessage("Fehler beim Lesen der Datei %s", cp1252Path));
    return bytes;
#else
    // Non-blocking, so that opening a FIFO does not wait for a writer; what
    // is no regular file is refused before anything is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        throw Error(WithReason(cannotOpen, FileErrorReason(errno)));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool directory = S_ISDIR(st.st_mode);
        ::close(fd);
        throw Error(WithReason(cannotOpen, directory ? IsDirectory : NoRegularFile));
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw Error(
                WithReason(FormatMessage("Fehler beim Lesen der Datei %s", cp1252Path), FileErrorReason(error)));
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
#endif
}

void WriteFilesAtomically(const std::vector<FileToWrite>& files, bool syncToDisk)
{
#ifdef _WIN32
    std::vector<std::pair<fs::path, fs::path>> temps;
    auto cleanUp = [&temps] {
        std::error_code ec;
        for (const auto& entry : temps)
            fs::remove(entry.second, ec);
    };
    for (const FileToWrite& file : files) {
        const fs::path target = ToFsPath(file.path);
        std::error_code ec;
        if (fs::exists(target, ec) && !fs::is_regular_file(target, ec)) {
            cleanUp();
            Fail(file, NoRegularFile);
        }
        const fs::path temp = target.parent_path() / TemporaryName();
        temps.emplace_back(target, temp);
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        out.close();
        if (!out) {
            cleanUp();
            Fail(file, "Die Datei konnte nicht geschrieben werden");
        }
    }
    (void)syncToDisk;
    for (std::size_t i = 0; i < temps.size(); ++i) {
        std::error_code ec;
        fs::rename(temps[i].second, temps[i].first, ec);
        if (ec) {
            cleanUp();
            Fail(files[i], ec.message());
        }
    }
#else
    IgnoreFileSizeSignal();
    std::vector<Target> targets;
    targets.reserve(files.size());
    for (const FileToWrite& file : files)
        targets.push_back({file.path, file.bytes, file.errorPattern});
    std::vector<Pending> pending(files.size());
    try {
        for (std::size_t i = 0; i < files.size(); ++i) {
            pending[i].file = &targets[i];
            ResolveTarget(pending[i]);
            CheckExistingTarget(pending[i]);
            OpenTemporary(pending[i]);
            Write(pending[i], syncToDisk);
        }
        // Every file is complete: only now do they get names and replace
        // their targets.
        for (Pending& p : pending)
            Link(p);
        for (Pending& p : pending)
            Replace(p, syncToDisk);
    } catch (...) {
        for (Pending& p : pending)
            Discard(p);
        throw;
    }
#endif
}

bool WriteFileUnlessUnchanged(const std::string& cp1252Path, std::string_view bytes, const std::string& errorPattern)
{
#ifdef _WIN32
    std::error_code ec;
    const fs::path path = ToFsPath(cp1252Path);
    if (fs::is_regular_file(path, ec) && fs::file_size(path, ec) == bytes.size()) {
        try {
            if (ReadFileBytes(cp1252Path) == bytes)
                return false;
        } catch (const Error&) {
        }
    }
    WriteFileAtomically(cp1252Path, std::string(bytes), errorPattern, false);
    return true;
#else
    IgnoreFileSizeSignal();
    const Target target{cp1252Path, bytes, errorPattern};
    Pending p;
    p.file = &target;
    try {
        ResolveTarget(p, false);
        if (HoldsAlready(p))
            return false;
        OpenTemporary(p);
        Write(p, false);
        Link(p);
        Replace(p, false);
    } catch (...) {
        Discard(p);
        throw;
    }
    return true;
#endif
}

std::vector<std::string> RegularFileNames(const std::string& cp1252Directory)
{
    const fs::path directory = cp1252Directory.empty() ? fs::path(".") : ToFsPath(cp1252Directory);
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator entry(directory, ec);
    for (; !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
        // An entry that went away meanwhile is no file any more.
        std::error_code statusError;
        if (!fs::is_regular_file(entry->symlink_status(statusError)))
            continue;
        const fs::path name = entry->path().filename();
        std::string cp1252Name = FromFsPath(name);
        if (ToFsPath(cp1252Name) == name)
            names.push_back(std::move(cp1252Name));
    }
    if (ec)
        throw Error(WithReason(
            FormatMessage("Der Ordner %s kann nicht gelesen werden.", cp1252Directory.empty() ? "." : cp1252Directory),
            ReasonOf(ec)));
    return names;
}

void DeleteRegularFile(const std::string& cp1252Path)
{
    const fs::path path = ToFsPath(cp1252Path);
    const auto fail = [&cp1252Path](const std::string& reason) {
        throw Error(WithReason(FormatMessage("Die Datei %s kann nicht gel\xF6scht werden.", cp1252Path), reason));
    };
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec)
        fail(ReasonOf(ec));
    if (!fs::is_regular_file(status))
        fail(fs::is_directory(status) ? IsDirectory : NoRegularFile);
    if (!fs::remove(path, ec) || ec)
        fail(ReasonOf(ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory)));
}

std::vector<std::string> DeleteRegularFiles(const std::vector<std::string>& cp1252Paths)
{
    std::vector<std::string> failures;
    for (const std::string& path : cp1252Paths) {
        try {
            DeleteRegularFile(path);
        } catch (const Error& error) {
            failures.push_back(error.what());
        }
    }
    return failures;
}

void WriteFileAtomically(const std::string& cp1252Path, const std::string& bytes, const std::string& errorPattern,
                         bool syncToDisk)
{
    WriteFilesAtomically({FileToWrite{cp1252Path, bytes, errorPattern}}, syncToDisk);
}

} // namespace tw
