#include "platform/files.h"

#include "platform/error.h"
#include "platform/paths.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tw {
namespace {

std::filesystem::path TemporarySibling(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::filesystem::path temp = target;
    temp += ".tmp" + std::to_string(stamp) + "-" + std::to_string(counter++);
    return temp;
}

// Writes and flushes to stable storage; false on any failure.
bool WriteAndSync(const std::filesystem::path& path, const std::string& bytes, bool syncToDisk)
{
#ifdef _WIN32
    (void)syncToDisk;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    std::size_t written = 0;
    bool ok = true;
    while (ok && written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0)
            ok = false;
        else
            written += static_cast<std::size_t>(n);
    }
    if (syncToDisk)
        ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    return ok;
#endif
}

} // namespace

std::string ReadFileBytes(const std::string& cp1252Path)
{
    const std::filesystem::path path = ToFsPath(cp1252Path);
    std::error_code ec;
    // A directory opens as a stream on some systems and then claims an
    // absurd size; it is no file to read.
    std::ifstream in;
    if (!std::filesystem::is_directory(path, ec))
        in.open(path, std::ios::binary);
    if (!in.is_open())
        throw Error(FormatMessage("Die Datei %s kann nicht ge\xF6"
                                  "ffnet werden.",
                                  cp1252Path));
    std::string bytes;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(bytes.data(), size);
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw Error(FormatMessage("Fehler beim Lesen der Datei %s", cp1252Path));
    return bytes;
}

void WriteFileAtomically(const std::string& cp1252Path, const std::string& bytes, const std::string& errorPattern,
                         bool syncToDisk)
{
    const std::filesystem::path target = ToFsPath(cp1252Path);
    std::error_code ec;
    if (std::filesystem::is_directory(target, ec))
        throw Error(FormatMessage(errorPattern, cp1252Path));
    const std::filesystem::path temp = TemporarySibling(target);
    if (!WriteAndSync(temp, bytes, syncToDisk)) {
        std::filesystem::remove(temp, ec);
        throw Error(FormatMessage(errorPattern, cp1252Path));
    }
    const auto existing = std::filesystem::status(target, ec);
    if (!ec && std::filesystem::exists(existing))
        std::filesystem::permissions(temp, existing.permissions(), ec);
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        throw Error(FormatMessage(errorPattern, cp1252Path));
    }
}

} // namespace tw
