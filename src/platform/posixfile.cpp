#include "platform/posixfile.h"

#include "platform/fileerrors.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <random>

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
    // The program never changes its user: asked once, not for every file.
    static const uid_t self = ::geteuid();
    if ((status.st_mode & S_IWUSR) == 0 ||
        (status.st_uid != self && ::faccessat(folderFd, name, W_OK, AT_SYMLINK_NOFOLLOW) != 0))
        return ReadOnlyFileReason;
    return nullptr;
}

std::string TemporaryName()
{
    static std::mutex mutex;
    static std::mt19937_64 random{
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        reinterpret_cast<std::uintptr_t>(&mutex) ^ static_cast<std::uint64_t>(::getpid())};
    const std::lock_guard lock(mutex);
    char name[32];
    std::snprintf(name, sizeof name, ".tw%016llx.tmp", static_cast<unsigned long long>(random()));
    return name;
}

} // namespace tw::posix
