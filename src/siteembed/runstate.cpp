#include "siteembed/runstate.h"

#include "platform/atomicwrite.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "siteembed/markers.h"

#include <unordered_set>

#include <fcntl.h>
#include <unistd.h>

namespace tw {
namespace {

namespace fs = std::filesystem;

const char* const ManifestName = "manifest";
const char* const ManifestHeader = "treeweaver-embed 1";
const char* const KeepPattern = "Die alten Fassungen der Seiten k\xF6nnen nicht in %s abgelegt werden";

std::string OldName(std::size_t index)
{
    return std::to_string(index) + ".old";
}

// Each line: number, 1 when the file existed, checksum of the bytes written
// ("-" for a deletion), site path.
std::string Manifest(const std::string& site, const std::vector<FileChange>& changes)
{
    std::string text = std::string(ManifestHeader) + "\n" + site + "\n";
    for (std::size_t index = 0; index < changes.size(); ++index) {
        const FileChange& change = changes[index];
        text += std::to_string(index) + "\t" + (change.before ? "1" : "0") + "\t" +
                (change.after ? BlockChecksum(*change.after) : std::string("-")) + "\t" + change.sitePath + "\n";
    }
    return text;
}

void RemoveFolder(const fs::path& folder)
{
    std::error_code error;
    fs::remove_all(folder, error);
    if (error)
        ThrowFileError("Der Ordner %s kann nicht gel\xF6scht werden.", FromFsPath(folder),
                       FileErrorReason(error.value()));
}

} // namespace

RunState::RunState(const fs::path& stateRoot, const std::string& siteFolder) : site_(siteFolder)
{
    if (stateRoot.empty())
        throw Error("Es gibt keinen Ordner f\xFCr die alten Fassungen der Seiten: weder XDG_STATE_HOME noch HOME "
                    "ist gesetzt.");
    std::error_code error;
    const fs::path canonical = fs::weakly_canonical(ToFsPath(siteFolder), error);
    folder_ = stateRoot / "treeweaver" / "embed" / BlockChecksum((error ? ToFsPath(siteFolder) : canonical).string());
}

void RunState::Keep(const std::vector<FileChange>& changes, SiteWriter& writer)
{
    const fs::path pending = folder_ / "pending";
    const std::string where = FromFsPath(pending);
    RemoveFolder(pending);
    std::error_code error;
    fs::create_directories(pending, error);
    if (error)
        ThrowFileError(KeepPattern, where, FileErrorReason(error.value()));
    for (std::size_t index = 0; index < changes.size(); ++index) {
        const FileChange& change = changes[index];
        if (!change.before)
            continue;
        // The old file is replaced, never changed in place: a second name
        // for it keeps its bytes without copying them.
        const std::string name = ToFsPath(ExtractFileName(change.sitePath)).string();
        const std::string target = (pending / OldName(index)).string();
        if (::linkat(writer.FolderOf(change.sitePath), name.c_str(), AT_FDCWD, target.c_str(), 0) != 0)
            WriteFileAtomically(FromFsPath(pending / OldName(index)), *change.before, KeepPattern, false);
    }
    WriteFileAtomically(FromFsPath(pending / ManifestName), Manifest(site_, changes), KeepPattern, false);
}

void RunState::Finish(const std::vector<FileChange>& written)
{
    const fs::path pending = folder_ / "pending";
    if (written.empty()) {
        RemoveFolder(pending);
        return;
    }
    // Skipped files are left out; the numbers of the kept ones stay.
    std::unordered_set<std::string> names;
    for (const FileChange& change : written)
        names.insert(change.sitePath);
    std::string manifest = std::string(ManifestHeader) + "\n" + site_ + "\n";
    const std::string all = ReadFileBytes(FromFsPath(pending / ManifestName));
    for (std::size_t start = all.find('\n', all.find('\n') + 1) + 1; start < all.size();) {
        const std::size_t end = all.find('\n', start);
        const std::string line = all.substr(start, end - start);
        if (names.contains(line.substr(line.rfind('\t') + 1)))
            manifest += line + "\n";
        start = end + 1;
    }
    WriteFileAtomically(FromFsPath(pending / ManifestName), manifest, KeepPattern, false);
    RemoveFolder(folder_ / "last");
    std::error_code error;
    fs::rename(pending, folder_ / "last", error);
    if (error)
        ThrowFileError(KeepPattern, FromFsPath(folder_ / "last"), FileErrorReason(error.value()));
}

void RunState::Abandon()
{
    RemoveFolder(folder_ / "pending");
}

std::vector<FileChange> RunState::UndoChanges(SiteWriter& writer, std::vector<std::string>& skipped) const
{
    const fs::path last = folder_ / "last";
    if (!fs::exists(last / ManifestName))
        throw Error("F\xFCr diese Website gibt es keinen Lauf, der sich r\xFC"
                    "ckg\xE4ngig machen lie\xDF"
                    "e.");
    const std::string manifest = ReadFileBytes(FromFsPath(last / ManifestName));
    std::vector<FileChange> changes;
    std::size_t start = manifest.find('\n', manifest.find('\n') + 1) + 1;
    while (start < manifest.size()) {
        const std::size_t end = manifest.find('\n', start);
        const std::string line = manifest.substr(start, end - start);
        start = end == std::string::npos ? manifest.size() : end + 1;
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        const std::size_t third = line.find('\t', second + 1);
        if (first == std::string::npos || second == std::string::npos || third == std::string::npos)
            throw Error(FormatMessage("Die Liste des letzten Laufs %s ist besch\xE4"
                                      "digt.",
                                      FromFsPath(last / ManifestName)));
        const std::string index = line.substr(0, first);
        const bool existed = line.substr(first + 1, second - first - 1) == "1";
        const std::string sum = line.substr(second + 1, third - second - 1);
        FileChange change;
        change.sitePath = line.substr(third + 1);
        change.before = writer.ReadNow(change.sitePath);
        const bool asWritten = sum == "-" ? !change.before : change.before && BlockChecksum(*change.before) == sum;
        if (!asWritten) {
            skipped.push_back(site_ + change.sitePath +
                              ": Die Seite wurde nach dem letzten Lauf ge\xE4ndert; sie bleibt, wie sie ist.");
            continue;
        }
        if (existed)
            change.after = ReadFileBytes(FromFsPath(last / (index + ".old")));
        changes.push_back(std::move(change));
    }
    return changes;
}

void RunState::Forget()
{
    RemoveFolder(folder_ / "last");
}

} // namespace tw
