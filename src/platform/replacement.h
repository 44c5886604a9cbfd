#pragma once

#include "platform/posixfile.h"

#include <string>
#include <string_view>

namespace tw::posix {

// The new bytes of one file of a folder, written to a temporary file of
// their own first: the target holds its old bytes or its new ones, never a
// part. The temporary file holds this process's lock (ownerlock.h) for as
// long as it is needed; one that a killed process left is removed by the
// next writer in the folder (RemoveLeftTemporaries).
class Replacement {
public:
    // folderFd stays the caller's and must outlive this.
    explicit Replacement(int folderFd) : folder_(folderFd) {}
    ~Replacement();
    Replacement(Replacement&& other) noexcept;
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;
    Replacement& operator=(Replacement&&) = delete;

    // Writes bytes into a new file of the folder, with mode (-1: as new files
    // are made) and, with syncToDisk, on stable storage. 0 or the errno value.
    int Write(std::string_view bytes, int mode, bool syncToDisk);
    // Puts the written file in place of name, whatever is there; 0 or errno.
    int Replace(const std::string& name);
    // Closes the file, letting its lock go; 0 or the errno value.
    int Close() { return fd_.Close(); }

private:
    int OpenNamed();

    int folder_;
    Descriptor fd_;
    std::string temporary_;
};

// Deletes the temporary files in the folder that no running writer holds:
// what processes killed while saving or generating left. Nothing to clear
// is no failure.
void RemoveLeftTemporaries(int folderFd);

} // namespace tw::posix
