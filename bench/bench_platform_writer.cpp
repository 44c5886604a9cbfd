// The output folder's writing against the floor of writing the same bytes
// (open with truncate, write, close), without generating: 3,331 files of
// 12 KB as a generation of "Aufklappend" writes them, into
// $TW_BENCH_DIR (default /dev/shm; a folder on disk shows the disk's part).
#include "platform/outputfolder.h"
#include "platform/paths.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int FileCount = 3331;

std::filesystem::path BenchFolder()
{
    const char* place = std::getenv("TW_BENCH_DIR");
    auto folder = std::filesystem::path(place ? place : "/dev/shm") / ("tw-writer-bench-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// The bytes of a file of version v; with grow, each version is one byte longer.
std::string Bytes(int file, int version, bool grow)
{
    std::string bytes = "<!DOCTYPE html>\r\n<title>Men\xFC " + std::to_string(version % 2) + "</title>\r\n";
    bytes += std::string(12000, static_cast<char>('a' + file % 26));
    if (grow)
        bytes += std::string(static_cast<std::size_t>(version % 2), '!');
    return bytes;
}

std::string Name(int file)
{
    return "Child" + std::to_string(file) + ".html";
}

// Writes every file per iteration: mode 0 unchanged, 1 changed with the same
// size, 2 changed with another size, 3 new files (the folder emptied
// between iterations, untimed).
void BM_OutputFolder(benchmark::State& state)
{
    const int mode = static_cast<int>(state.range(0));
    const auto folder = BenchFolder();
    int version = 0;
    {
        tw::OutputFolder out(tw::FromFsPath(folder) + "/");
        for (int file = 0; file < FileCount; ++file)
            out.WriteUnlessUnchanged(Name(file), Bytes(file, version, mode == 2), "%s");
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (mode == 1 || mode == 2)
            ++version;
        if (mode == 3) {
            for (int file = 0; file < FileCount; ++file)
                std::filesystem::remove(folder / Name(file));
        }
        std::vector<std::string> files;
        for (int file = 0; file < FileCount; ++file)
            files.push_back(Bytes(file, version, mode == 2));
        state.ResumeTiming();
        tw::OutputFolder out(tw::FromFsPath(folder) + "/");
        for (int file = 0; file < FileCount; ++file)
            out.WriteUnlessUnchanged(Name(file), files[static_cast<std::size_t>(file)], "%s");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_OutputFolder)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_WriteFloor(benchmark::State& state)
{
    const auto folder = BenchFolder();
    std::vector<std::string> files;
    for (int file = 0; file < FileCount; ++file)
        files.push_back(Bytes(file, 0, false));
    for (auto _ : state) {
        for (int file = 0; file < FileCount; ++file) {
            const std::string path = (folder / Name(file)).string();
            const std::string& bytes = files[static_cast<std::size_t>(file)];
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
                ::close(fd) != 0)
                state.SkipWithError("cannot write");
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteFloor)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
