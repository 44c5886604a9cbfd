#pragma once

#include <string>
#include <string_view>

#include "platform/posixfile.h"

namespace tw {

// The folder a generation writes into, opened once; every file is made in
// it by its plain name, so that a symbolic link planted under an output
// name can neither redirect a write nor be written through. Temporary files
// that killed writers left there are removed when it is opened.
class OutputFolder {
public:
    // cp1252Folder is empty or ends with a separator ("out/"); empty stands
    // for the working folder. The folder is opened on the first write.
    explicit OutputFolder(std::string cp1252Folder) : folder_(std::move(cp1252Folder)) {}

    // Writes name (no separators) unless it holds exactly these bytes
    // already (it then keeps its time stamp). True when the file was written.
    // A file that is there holds its old bytes or its new ones, never a
    // part; a new file is written in place (a killed run may leave a part). Throws tw::Error with errorPattern
    // ("%s": folder + name) and the reason: also for a name that is a
    // symbolic link, a folder or other non-regular file, or read-only.
    bool WriteUnlessUnchanged(const std::string& name, std::string_view bytes, const std::string& errorPattern);

private:
    void Open(const std::string& name, const std::string& errorPattern);

    std::string folder_;
    posix::Descriptor fd_;
};

} // namespace tw
