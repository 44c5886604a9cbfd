#pragma once

// What the file modules of this folder share of the POSIX calls: descriptors
// that close themselves, complete writes, and temporary names.

#include <cerrno>
#include <string>
#include <string_view>

#include <sys/stat.h>

namespace tw::posix {

// A descriptor that is closed when it goes.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Reset(); }
    Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    int Release();
    void Reset();
    // Closes the descriptor; the errno value of a failed close, else 0. A
    // failed close can be the first news of a failed write.
    int Close();

private:
    int fd_ = -1;
};

// Writes all bytes; 0 or the errno value of the failure.
int WriteAll(int fd, std::string_view bytes);

// The mode a new file gets (0666 less the umask); -1 when unknown.
int CreationMode();

// Why a file with this status may not be replaced or deleted, or nullptr:
// folders and other non-regular files, and files their owner made
// read-only, whatever the folder would allow.
const char* RefusalReason(const struct stat& status, int folderFd, const char* name);

// Calls attempt with fresh temporary names in the folder until it succeeds
// or fails for another reason than an existing name. attempt returns 0 or an
// errno value; so does this, and name holds the name used.
template <typename Attempt>
int WithTemporaryName(Attempt attempt, std::string& name);

// A fresh temporary name, one that RemoveLeftTemporaries (replacement.h)
// knows.
std::string TemporaryName();

template <typename Attempt>
int WithTemporaryName(Attempt attempt, std::string& name)
{
    for (int tries = 0; tries < 100; ++tries) {
        name = TemporaryName();
        const int error = attempt(name);
        if (error != EEXIST)
            return error;
    }
    return EEXIST;
}

} // namespace tw::posix
