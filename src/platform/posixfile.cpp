#include "platform/posixfile.h"

#include "platform/fileerrors.h"

#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace tw::posix {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept
{
    if (this != &other) {
        Reset();
        fd_ = other.Release();
    }
    return *this;
}

int Descriptor::Release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void Descriptor::Reset()
{
    // On the paths that end here a failure was reported already.
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

int Descriptor::Close()
{
    const int fd = Release();
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
}

void IgnoreFileSizeSignal()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

int WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int CreationMode()
{
    // Read from the process status: umask() itself would change it.
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

const char* RefusalReason(const struct stat& status, int folderFd, const char* name)
{
    if (S_ISDIR(status.st_mode))
        return IsDirectoryReason;
    if (!S_ISREG(status.st_mode))
        return NoRegularFileReason;
    // For the owner the mode bit says it all; root would be let through.
    if ((status.st_mode & S_IWUSR) == 0 ||
        (status.st_uid != ::geteuid() && ::faccessat(folderFd, name, W_OK, AT_SYMLINK_NOFOLLOW) != 0))
        return ReadOnlyFileReason;
    return nullptr;
}

int OpenUnnamed(int folderFd)
{
#ifdef O_TMPFILE
    const int fd = ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    // Older kernels and some file systems answer with other errors.
    if (fd < 0 && (errno == EISDIR || errno == EINVAL))
        errno = EOPNOTSUPP;
    return fd;
#else
    (void)folderFd;
    errno = EOPNOTSUPP;
    return -1;
#endif
}

int LinkUnnamed(int fd, int folderFd, const std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

namespace {

constexpr std::string_view TemporaryPrefix = ".tw";
constexpr std::string_view TemporarySuffix = ".tmp";

} // namespace

std::string TemporaryName()
{
    static std::mutex mutex;
    static std::mt19937 random{static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                                          reinterpret_cast<std::uintptr_t>(&mutex))};
    const std::lock_guard lock(mutex);
    char name[40];
    std::snprintf(name, sizeof name, ".tw%ld-%08x.tmp", static_cast<long>(::getpid()), static_cast<unsigned>(random()));
    return name;
}

bool IsTemporaryOfEndedProcess(std::string_view name)
{
    if (!name.starts_with(TemporaryPrefix) || !name.ends_with(TemporarySuffix))
        return false;
    name.remove_prefix(TemporaryPrefix.size());
    name.remove_suffix(TemporarySuffix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 || name.size() - dash - 1 != 8)
        return false;
    long pid = 0;
    for (const char c : name.substr(0, dash)) {
        if (c < '0' || c > '9')
            return false;
        pid = pid * 10 + (c - '0');
    }
    for (const char c : name.substr(dash + 1)) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

void RemoveTemporariesOfEndedProcesses(int folderFd)
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
        if (IsTemporaryOfEndedProcess(entry->d_name))
            ::unlinkat(folderFd, entry->d_name, 0);
    }
}

} // namespace tw::posix
