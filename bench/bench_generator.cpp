// Generation speed against the limit set by writing the same bytes into the
// same number of files, and a regeneration whose files are all unchanged.
// Uses the shipped template sets beside the program; the files go to TMPDIR.

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "platform/paths.h"

#include "last_message.h"
#include "peak_heap.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

class ScratchDirectory {
public:
    ScratchDirectory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tw-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("no temporary directory");
        path_ = pattern;
    }
    ~ScratchDirectory()
    {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// fanouts[d] children below every item of depth d - 1 (the root for d = 0).
void AddLevel(tw::TqzHTML& document, tw::MenuNode& parent, const std::vector<int>& fanouts, std::size_t depth)
{
    if (depth == fanouts.size())
        return;
    for (int i = 0; i < fanouts[depth]; ++i) {
        tw::MenuNode& node = document.Tree().AddChild(parent, "Men\xFC"
                                                              "punkt " +
                                                                  std::to_string(i + 1));
        document.CreateItemData(node);
        node.Item()->Link = "seiten/p" + std::to_string(document.Tree().Count()) + ".html";
        node.Item()->Target = "inhalt";
        AddLevel(document, node, fanouts, depth + 1);
    }
}

std::unique_ptr<tw::TqzHTML> MakeDocument(const std::vector<int>& fanouts, const std::string& templateSet,
                                          const std::filesystem::path& outputDirectory)
{
    auto document = std::make_unique<tw::TqzHTML>();
    AddLevel(*document, document->Tree().Root(), fanouts, 0);
    document->SetFileSetting(tw::fsTemplate, templateSet);
    document->SetFileSetting(tw::fsFilename, tw::FromFsPath(outputDirectory / "menu.html"));
    document->SetString(tw::siTitle, "Men\xFC");
    document->SetColor(tw::ciLink, 0x8B0000);
    document->Variables().AddVariable("Kopfzeile", "Kopf", false);
    return document;
}

using FileSet = std::vector<std::pair<std::string, std::string>>; // name, bytes

FileSet ReadFiles(const std::filesystem::path& directory)
{
    FileSet files;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(entry.path().filename().string(),
                           std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    return files;
}

void ReportOutput(benchmark::State& state, const FileSet& files, std::size_t items)
{
    std::size_t bytes = 0;
    for (const auto& file : files)
        bytes += file.second.size();
    state.counters["items"] = static_cast<double>(items);
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetBytesProcessed(static_cast<int64_t>(bytes * state.iterations()));
    state.SetComplexityN(static_cast<int64_t>(items));
}

// Generates once; false (and the benchmark skipped) when a message came up.
bool GenerateOnce(benchmark::State& state, tw::TqzHTML& document)
{
    LastMessage sink;
    tw::Generate(document, sink);
    if (sink.last.empty())
        return true;
    state.SkipWithError(sink.last.c_str());
    return false;
}

// Every timed run replaces the files of the run before. With changing, the
// title (in every header) differs from run to run, so that every file is
// written; without, every file already holds its bytes.
void RunGeneration(benchmark::State& state, const std::vector<int>& fanouts, const std::string& templateSet,
                   bool changing)
{
    ScratchDirectory out;
    auto document = MakeDocument(fanouts, templateSet, out.Path());
    if (!GenerateOnce(state, *document))
        return;
    bool other = false;
    LastMessage sink;
    for (auto _ : state) {
        if (changing) {
            state.PauseTiming();
            other = !other;
            document->SetString(tw::siTitle, other ? "Men\xFC 2" : "Men\xFC 1");
            state.ResumeTiming();
        }
        tw::Generate(*document, sink);
    }
    ReportOutput(state, ReadFiles(out.Path()), document->Tree().Count() - 1);
}

// The limit: the bytes of one generation written into files that are already
// there, with open (truncating), write and close and nothing else.
void RunWritingOnly(benchmark::State& state, const std::vector<int>& fanouts, const std::string& templateSet)
{
    ScratchDirectory generated;
    auto document = MakeDocument(fanouts, templateSet, generated.Path());
    if (!GenerateOnce(state, *document))
        return;
    const FileSet files = ReadFiles(generated.Path());
    ScratchDirectory out;
    const std::string directory = tw::FromFsPath(out.Path()) + "/";
    auto writeAll = [&] {
        for (const auto& [name, bytes] : files) {
            const int fd = ::open((directory + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
                ::close(fd) != 0)
                state.SkipWithError("cannot write");
        }
    };
    writeAll();
    for (auto _ : state)
        writeAll();
    ReportOutput(state, files, document->Tree().Count() - 1);
}

// 30 top-level items, 10 children each, four levels: 33,330 items, and with
// the three opened levels of "Aufklappend" 3,331 files.
const std::vector<int> SeparateFilesTree{30, 10, 10, 10};

void BM_GenerateSeparateFiles(benchmark::State& state)
{
    RunGeneration(state, SeparateFilesTree, "Aufklappend", true);
}
void BM_RegenerateSeparateFilesUnchanged(benchmark::State& state)
{
    RunGeneration(state, SeparateFilesTree, "Aufklappend", false);
}
void BM_WriteSameBytesSeparateFiles(benchmark::State& state)
{
    RunWritingOnly(state, SeparateFilesTree, "Aufklappend");
}
BENCHMARK(BM_GenerateSeparateFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegenerateSeparateFilesUnchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteSameBytesSeparateFiles)->Unit(benchmark::kMillisecond);

// 10 x 10 x 10 x n items in one file; n = 99 gives 100,110 items.
std::vector<int> AllInOneTree(int leaves)
{
    return {10, 10, 10, leaves};
}

void BM_GenerateAllInOne(benchmark::State& state)
{
    RunGeneration(state, AllInOneTree(static_cast<int>(state.range(0))), "Komplett", true);
}
void BM_WriteSameBytesAllInOne(benchmark::State& state)
{
    RunWritingOnly(state, AllInOneTree(static_cast<int>(state.range(0))), "Komplett");
}
BENCHMARK(BM_GenerateAllInOne)->Arg(12)->Arg(25)->Arg(50)->Arg(99)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_WriteSameBytesAllInOne)->Arg(99)->Unit(benchmark::kMillisecond);

// The heap of one generation at its highest against the heap of the document
// it generates from, for submenu files and for all in one file.
void BM_GenerationPeakHeap(benchmark::State& state)
{
    const bool allInOne = state.range(0) != 0;
    ScratchDirectory out;
    std::unique_ptr<tw::TqzHTML> document;
    std::size_t documentBytes = 0;
    {
        const PeakHeap heap;
        document = allInOne ? MakeDocument(AllInOneTree(99), "Komplett", out.Path())
                            : MakeDocument(SeparateFilesTree, "Aufklappend", out.Path());
        documentBytes = heap.InUse();
    }
    std::size_t peak = 0;
    for (auto _ : state) {
        const PeakHeap heap;
        if (!GenerateOnce(state, *document))
            return;
        peak = heap.Above();
    }
    state.counters["document_MB"] = static_cast<double>(documentBytes) / (1024.0 * 1024.0);
    state.counters["peak_heap_MB"] = static_cast<double>(peak) / (1024.0 * 1024.0);
    // The whole heap while generating, in documents.
    state.counters["with_document"] = static_cast<double>(documentBytes + peak) / static_cast<double>(documentBytes);
}
BENCHMARK(BM_GenerationPeakHeap)->ArgName("all_in_one")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
