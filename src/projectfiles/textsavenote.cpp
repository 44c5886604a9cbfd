#include "projectfiles/textsavenote.h"

#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <sstream>

namespace tw {
namespace {

constexpr std::string_view NoteHeader = "TWSAVE 1";

std::uint64_t Checksum(std::string_view bytes)
{
    // FNV-1a: steady across builds and machines, which std::hash is not.
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string Fingerprint(std::string_view bytes)
{
    char text[40];
    std::snprintf(text, sizeof text, "%zu:%016" PRIx64, bytes.size(), Checksum(bytes));
    return text;
}

// The bytes of a companion file, or nothing when it cannot be read (it may
// be missing: it never was, or a save was cut short).
std::string BytesOrNothing(const std::string& path)
{
    try {
        return ReadFileBytes(path);
    } catch (const Error&) {
        return {};
    }
}

} // namespace

std::string SaveNotePath(const std::string& menuPath)
{
    char name[32];
    std::snprintf(name, sizeof name, ".tw%016" PRIx64 ".twsave", Checksum(ExtractFileName(menuPath)));
    return ExtractFilePath(menuPath) + name;
}

std::array<std::string, 3> CurrentFiles(const std::string& menuPath)
{
    return {BytesOrNothing(menuPath), BytesOrNothing(ChangeFileExt(menuPath, ".tws")),
            BytesOrNothing(ChangeFileExt(menuPath, ".twv"))};
}

std::string SaveNoteBytes(const TextProjectBytes& before, const TextProjectBytes& after)
{
    std::string note = std::string(NoteHeader) + '\n';
    for (std::size_t i = 0; i < before.size(); ++i)
        note += Fingerprint(before[i]) + ' ' + Fingerprint(after[i]) + '\n';
    return note;
}

bool IsMixedSet(const std::string& menuPath, std::string_view menuBytes)
{
    const std::string notePath = SaveNotePath(menuPath);
    if (!FileExists(notePath))
        return false;
    std::istringstream note(BytesOrNothing(notePath));
    std::string header;
    std::getline(note, header);
    std::array<std::string, 3> files = CurrentFiles(menuPath);
    files[0] = menuBytes;
    // Files that did not change in the save could belong to either; files
    // changed elsewhere since belong to neither.
    bool before = false;
    bool after = false;
    for (const std::string& bytes : files) {
        std::string old;
        std::string saved;
        note >> old >> saved;
        const std::string now = Fingerprint(bytes);
        before = before || (now == old && now != saved);
        after = after || (now == saved && now != old);
    }
    // An unreadable note cannot tell.
    return header == NoteHeader && note && before && after;
}

bool IsMixedSet(const std::string& menuPath)
{
    return IsMixedSet(menuPath, BytesOrNothing(menuPath));
}

} // namespace tw
