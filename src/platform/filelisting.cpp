#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/posixfile.h"

#include <fcntl.h>
#include <unistd.h>

namespace tw {

namespace fs = std::filesystem;

std::vector<std::string> RegularFileNames(const std::string& cp1252Directory)
{
    const fs::path directory = cp1252Directory.empty() ? fs::path(".") : ToFsPath(cp1252Directory);
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator entry(directory, ec);
    for (; !ec && entry != fs::directory_iterator(); entry.increment(ec)) {
        // The type comes from the listing itself where the file system gives
        // it, without a stat per entry. An entry that went away meanwhile is
        // no file any more.
        std::error_code statusError;
        if (entry->is_symlink(statusError) || !entry->is_regular_file(statusError))
            continue;
        const fs::path name = entry->path().filename();
        std::string cp1252Name = FromFsPath(name);
        if (ToFsPath(cp1252Name) == name)
            names.push_back(std::move(cp1252Name));
    }
    if (ec)
        ThrowFileError("Der Ordner %s kann nicht gelesen werden.", cp1252Directory.empty() ? "." : cp1252Directory,
                       FileErrorReason(ec.value()));
    return names;
}

void DeleteRegularFile(const std::string& cp1252Path)
{
    const auto fail = [&cp1252Path](const std::string& reason) {
        ThrowFileError("Die Datei %s kann nicht gel\xF6scht werden.", cp1252Path, reason);
    };
    const fs::path path = ToFsPath(cp1252Path);
    const fs::path folderPath = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const posix::Descriptor folder(::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.Valid())
        fail(FileErrorReason(errno));
    const std::string name = path.filename().string();
    struct stat status {};
    if (::fstatat(folder.Get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        fail(FileErrorReason(errno));
    if (const char* refusal = posix::RefusalReason(status, folder.Get(), name.c_str()))
        fail(refusal);
    if (::unlinkat(folder.Get(), name.c_str(), 0) != 0)
        fail(FileErrorReason(errno));
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

} // namespace tw
