#pragma once

#include "platform/posixfile.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// One file of a site that a run changes.
struct FileChange {
    std::string sitePath;
    std::optional<std::string> before; // its bytes when prepared; nothing: it did not exist
    std::optional<std::string> after;  // its new bytes; nothing: it is deleted
};

// Puts the changes of one run in place, all or nothing. Every new file is
// written to a temporary file beside its target first; then each target is
// read again and, when it still holds the bytes it was prepared from,
// replaced by one rename; one that changed meanwhile is skipped. When a step
// fails, the targets already replaced get their old bytes back and nothing
// is left changed. Files are reached from the site's folder without
// following a symbolic link, and a link is never written through.
class SiteWriter {
public:
    explicit SiteWriter(std::string siteRoot) : root_(std::move(siteRoot)) {}
    virtual ~SiteWriter() = default;
    SiteWriter(const SiteWriter&) = delete;
    SiteWriter& operator=(const SiteWriter&) = delete;

    // Applies the changes; those skipped are removed from the list and
    // their messages returned. Throws tw::Error after a failure, once every
    // file holds its old bytes again.
    std::vector<std::string> Apply(std::vector<FileChange>& changes);

    // After a failed Apply: some replaced files could not get their old
    // bytes back (they are kept with the run's state).
    bool RestoreFailed() const { return restoreFailed_; }

    // The folder of a site path, opened without following links; throws
    // tw::Error naming path.
    int FolderOf(const std::string& sitePath);
    // The bytes of a site file now, nothing when it does not exist; throws
    // tw::Error for a link or another non-regular file.
    std::optional<std::string> ReadNow(const std::string& sitePath);

protected:
    // Puts a finished temporary file in place of name: 0 or an errno value.
    virtual int PutInPlace(int folder, const std::string& temporary, const std::string& name);

private:
    struct Pending {
        int folder = -1;
        std::string name;
        std::string temporary; // empty for a deletion
    };
    std::string Temporary(int folder, const std::string& sitePath, const std::string& bytes);
    int OpenFolder(const std::string& folder, const std::string& forPath);
    // Gives the files replaced so far their old bytes again; the site paths
    // of those that could not be restored.
    std::string Restore(const std::vector<FileChange>& changes, const std::vector<Pending>& pending);
    [[noreturn]] void Fail(const std::string& sitePath, const std::string& reason);

    std::string root_;
    std::map<std::string, posix::Descriptor> folders_;
    bool restoreFailed_ = false;
};

} // namespace tw
