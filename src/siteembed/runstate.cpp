#include "siteembed/runstate.h"

#include "platform/atomicwrite.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "siteembed/markers.h"

#include <charconv>

#include <fcntl.h>
#include <unistd.h>

namespace tw {
namespace {

namespace fs = std::filesystem;

const char* const ListName = "manifest";
const char* const ListHeader = "treeweaver-embed 1";
const char* const IndexName = "index";
const char* const KeepPattern = "Die alten Fassungen der Seiten k\xF6nnen nicht in %s abgelegt werden";

std::string OldName(std::size_t index)
{
    return std::to_string(index) + ".old";
}

void RemoveFolder(const fs::path& folder)
{
    std::error_code error;
    fs::remove_all(folder, error);
    if (error)
        ThrowFileError("Der Ordner %s kann nicht gel\xF6scht werden.", FromFsPath(folder),
                       FileErrorReason(error.value()));
}

// The fields of a line separated by tabs.
std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

// The lines of a file after its first two (header and site).
std::vector<std::string> BodyLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = text.find('\n');
    start = start == std::string::npos ? text.size() : text.find('\n', start + 1);
    for (start = start == std::string::npos ? text.size() : start + 1; start < text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

template <typename Number>
Number NumberOf(const std::string& text)
{
    Number value{};
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Device, file number, size, modification and change time, mode, owner,
// each followed by a tab.
std::string IdentityText(const SiteFileIdentity& identity)
{
    std::string text;
    for (const std::uint64_t number : {identity.device, identity.inode, identity.size})
        text += std::to_string(number) + '\t';
    for (const std::int64_t time : {identity.modified, identity.changed})
        text += std::to_string(time) + '\t';
    for (const std::uint32_t number : {identity.mode, identity.owner})
        text += std::to_string(number) + '\t';
    text.pop_back();
    return text;
}

constexpr std::size_t IdentityFields = 7;

SiteFileIdentity IdentityFrom(const std::vector<std::string>& fields, std::size_t first)
{
    return {true,
            NumberOf<std::uint64_t>(fields[first]),
            NumberOf<std::uint64_t>(fields[first + 1]),
            NumberOf<std::uint64_t>(fields[first + 2]),
            NumberOf<std::int64_t>(fields[first + 3]),
            NumberOf<std::int64_t>(fields[first + 4]),
            NumberOf<std::uint32_t>(fields[first + 5]),
            NumberOf<std::uint32_t>(fields[first + 6])};
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

void RunState::Begin()
{
    const fs::path pending = folder_ / "pending";
    RemoveFolder(pending);
    std::error_code error;
    fs::create_directories(pending, error);
    if (error)
        ThrowFileError(KeepPattern, FromFsPath(pending), FileErrorReason(error.value()));
}

void RunState::Keep(std::size_t index, const std::string& sitePath, const std::string& before, SiteWriter& writer)
{
    const fs::path target = folder_ / "pending" / OldName(index);
    // The old file is replaced, never changed in place: a second name for
    // it keeps its bytes without copying them.
    const std::string name = ToFsPath(ExtractFileName(sitePath)).string();
    if (::linkat(writer.FolderOf(sitePath), name.c_str(), AT_FDCWD, target.c_str(), 0) != 0)
        WriteFileAtomically(FromFsPath(target), before, KeepPattern, false);
}

std::optional<std::string> RunState::OldBytes(std::size_t index) const
{
    try {
        return ReadFileBytes(FromFsPath(folder_ / "pending" / OldName(index)));
    } catch (const Error&) {
        return std::nullopt; // the caller names the file that keeps its new bytes
    }
}

// Each line: place, 1 when the file existed, what the file was once
// written ("-" for a deletion), site path.
void RunState::WriteList(const std::vector<FileChange>& changes)
{
    std::string text = std::string(ListHeader) + "\n" + site_ + "\n";
    for (const FileChange& change : changes)
        text += std::to_string(change.place) + "\t" + (change.before.exists ? "1" : "0") + "\t" +
                (change.deletes ? std::string("-") : IdentityText(change.after)) + "\t" + change.sitePath + "\n";
    WriteFileAtomically(FromFsPath(folder_ / "pending" / ListName), text, KeepPattern, false);
}

void RunState::Finish(const std::vector<FileChange>& made)
{
    if (made.empty()) {
        Abandon();
        return;
    }
    WriteList(made);
    RemoveFolder(folder_ / "last");
    std::error_code error;
    fs::rename(folder_ / "pending", folder_ / "last", error);
    if (error)
        ThrowFileError(KeepPattern, FromFsPath(folder_ / "last"), FileErrorReason(error.value()));
}

void RunState::Abandon()
{
    RemoveFolder(folder_ / "pending");
}

std::vector<std::optional<std::string>> RunState::StageUndo(SiteWriter& writer, std::vector<std::string>& skipped) const
{
    std::vector<std::optional<std::string>> current;
    const fs::path last = folder_ / "last";
    if (!fs::exists(last / ListName))
        throw Error("F\xFCr diese Website gibt es keinen Lauf, der sich r\xFC"
                    "ckg\xE4ngig machen lie\xDF"
                    "e.");
    for (const std::string& line : BodyLines(ReadFileBytes(FromFsPath(last / ListName)))) {
        const std::vector<std::string> fields = Fields(line);
        const bool deleted = fields.size() == 4 && fields[2] == "-";
        if (!deleted && fields.size() != 3 + IdentityFields)
            throw Error(FormatMessage("Die Liste des letzten Laufs %s ist besch\xE4"
                                      "digt.",
                                      FromFsPath(last / ListName)));
        const std::string& sitePath = fields.back();
        SiteFileIdentity identity;
        const std::optional<std::string> now = writer.ReadNow(sitePath, std::string::npos, &identity);
        if (deleted ? now.has_value() : identity != IdentityFrom(fields, 2)) {
            skipped.push_back(site_ + sitePath +
                              ": Die Seite wurde nach dem letzten Lauf ge\xE4ndert; sie bleibt, wie sie ist.");
            continue;
        }
        std::optional<std::string> old;
        if (fields[1] == "1")
            old = ReadFileBytes(FromFsPath(last / (fields[0] + ".old")));
        writer.Stage(sitePath, identity, old);
        current.push_back(now);
    }
    return current;
}

void RunState::Forget()
{
    RemoveFolder(folder_ / "last");
}

// Each line: what the page was (IdentityText), site path.
RunState::PageIndex RunState::LoadIndex() const
{
    PageIndex index;
    const fs::path path = folder_ / IndexName;
    std::error_code error;
    if (!fs::exists(path, error))
        return index;
    const std::string text = ReadFileBytes(FromFsPath(path));
    const std::size_t first = text.find('\n');
    const std::size_t second = first == std::string::npos ? first : text.find('\n', first + 1);
    if (second == std::string::npos || text.substr(0, first) != ListHeader)
        return index;
    index.inputs = text.substr(first + 1, second - first - 1);
    for (const std::string& line : BodyLines(text)) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() != IdentityFields + 1)
            return {};
        index.pages.emplace(fields.back(), IdentityFrom(fields, 0));
    }
    return index;
}

void RunState::SaveIndex(const PageIndex& index) const
{
    std::error_code error;
    fs::create_directories(folder_, error);
    std::string text = std::string(ListHeader) + "\n" + index.inputs + "\n";
    for (const auto& [sitePath, identity] : index.pages)
        text += IdentityText(identity) + "\t" + sitePath + "\n";
    // Unchanged, it is left as it is, as the pages are.
    const std::string path = FromFsPath(folder_ / IndexName);
    if (!fs::exists(folder_ / IndexName, error) || ReadFileBytes(path) != text)
        WriteFileAtomically(path, text, KeepPattern, false);
}

} // namespace tw
