#pragma once

#include "platform/posixfile.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tw {

// What a file was when it was read. Any write changes its change time, a
// replacement its file number: a file with the same identity holds the
// same bytes.
struct SiteFileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds
    std::int64_t changed = 0;  // nanoseconds
    std::uint32_t mode = 0;
    std::uint32_t owner = 0;
    bool operator==(const SiteFileIdentity&) const = default;
};

// One file of a site that a run changes.
struct FileChange {
    std::string sitePath;
    SiteFileIdentity before; // when it was read
    bool deletes = false;    // the file goes
    std::string temporary;   // the new bytes, staged beside it
    std::size_t place = 0;   // among the staged changes
    SiteFileIdentity after;  // once it is in place
};

// Puts the changes of one run in place, all or nothing. Every new file is
// written to a temporary file beside its target first (Stage); only when
// all are there are the targets replaced (Commit), each by one rename,
// after checking that it is still what it was when read: one changed
// meanwhile is skipped. When a step fails, the targets already replaced get
// their old bytes back. Files are reached from the site's folder without
// following a symbolic link, and a link is never written through.
class SiteWriter {
public:
    explicit SiteWriter(std::string siteRoot) : root_(std::move(siteRoot)) {}
    // Staged files that were not committed go.
    virtual ~SiteWriter();
    SiteWriter(const SiteWriter&) = delete;
    SiteWriter& operator=(const SiteWriter&) = delete;

    // The bytes of a site file now, nothing when it does not exist; throws
    // tw::Error for a link, another non-regular file or a file larger than
    // maxSize. identity, when given, gets what the file was.
    std::optional<std::string> ReadNow(const std::string& sitePath, std::size_t maxSize = std::string::npos,
                                       SiteFileIdentity* identity = nullptr);
    SiteFileIdentity IdentityNow(const std::string& sitePath);

    // Writes the new bytes of a file (nothing: it is to be deleted) beside
    // it; throws tw::Error naming the file.
    void Stage(const std::string& sitePath, const SiteFileIdentity& before, const std::optional<std::string>& after);
    // The staged changes; after Commit, those that were made.
    const std::vector<FileChange>& Changes() const { return changes_; }
    // Replaces every staged file that is still what it was; the messages
    // of those skipped. oldBytes gives a replaced file's old bytes by its
    // place among the changes, to put them back when a later step fails;
    // then tw::Error is thrown and Changes() holds the files that could not
    // get their old bytes back.
    std::vector<std::string> Commit(const std::function<std::optional<std::string>(std::size_t)>& oldBytes);
    // Removes the staged files.
    void Discard();
    // After a failed Commit: some replaced files could not get their old
    // bytes back.
    bool RestoreFailed() const { return restoreFailed_; }

    // The folder of a site path, opened without following links; throws
    // tw::Error naming path.
    int FolderOf(const std::string& sitePath);

protected:
    // Puts a finished temporary file in place of name: 0 or an errno value.
    virtual int PutInPlace(int folder, const std::string& temporary, const std::string& name);

private:
    int OpenFolder(const std::string& folder, const std::string& forPath);
    // existing: what the target is, when known.
    std::string Temporary(const std::string& sitePath, const std::string& bytes, const SiteFileIdentity* existing);
    // Gives the changes made so far their old bytes again (by their place);
    // those that could not be restored.
    std::vector<FileChange> Restore(const std::function<std::optional<std::string>(std::size_t)>& oldBytes);
    [[noreturn]] void Fail(const char* pattern, const std::string& sitePath, const std::string& reason);

    std::string root_;
    std::map<std::string, posix::Descriptor> folders_;
    std::vector<FileChange> changes_;
    bool restoreFailed_ = false;
};

} // namespace tw
