// Load and save of a project with 100,000 items (and 200,000) and 50
// variables in each format, next to reading and writing the same bytes raw,
// and "show" of the same projects. Every benchmark
// reports the peak heap it allocated while it ran (peak_heap_MB).
#include "cli/project_json.h"
#include "document/qzhtml.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "projectfiles/binaryblocks.h"
#include "projectfiles/projectfiles.h"

#include "last_message.h"
#include "peak_heap.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// Items come in groups of a top-level item and its sub-items, on two levels
// so that every format holds them all.
constexpr int SubItemsEach = 9;
constexpr int GroupSize = 1 + SubItemsEach;
constexpr int ItemCount = 100000;
constexpr int VariableCount = 50;

void FillLargeProject(tw::TqzHTML& document, int itemCount)
{
    tw::MenuTree& tree = document.Tree();
    for (int i = 0; i < itemCount / GroupSize; ++i) {
        tw::MenuNode& top = tree.AddChild(tree.Root(), "Bereich " + std::to_string(i));
        document.CreateItemData(top);
        top.Item()->Link = "bereich" + std::to_string(i) + ".htm";
        for (int j = 0; j < SubItemsEach; ++j) {
            tw::MenuNode& sub = tree.AddChild(top, "Seite " + std::to_string(i) + "." + std::to_string(j));
            document.CreateItemData(sub);
            sub.Item()->Link = "seiten/s" + std::to_string(i) + "_" + std::to_string(j) + ".htm";
            sub.Item()->Target = "inhalt";
        }
    }
    for (int i = 0; i < VariableCount; ++i)
        document.Variables().AddVariable("Variable" + std::to_string(i), "Wert " + std::to_string(i) + "\r\nZeile 2",
                                         false);
    document.SetString(tw::siTitle, "Gro\xDF"
                                    "es Projekt");
}

// A scratch directory that is removed when the program ends.
class ScratchDirectory {
public:
    ScratchDirectory()
        : path_(std::filesystem::temp_directory_path() / ("tw_bench_projectfiles_" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string Path() const { return tw::FromFsPath(path_); }

private:
    std::filesystem::path path_;
};

std::string BenchDirectory()
{
    static const ScratchDirectory dir;
    return dir.Path();
}

std::string ProjectPath(int format, int itemCount)
{
    return BenchDirectory() + "/gross" + std::to_string(itemCount) + (format == tw::pfText ? ".twf" : ".twb");
}

// Saves the large project once per format and size so load benchmarks find it.
const std::string& SavedProject(int format, int itemCount)
{
    static std::map<std::pair<int, int>, std::string> paths;
    std::string& path = paths[{format, itemCount}];
    if (path.empty()) {
        tw::TqzHTML document;
        FillLargeProject(document, itemCount);
        path = ProjectPath(format, itemCount);
        LastMessage sink;
        if (!tw::SaveProject(document, path, format, sink))
            std::abort();
    }
    return path;
}

// Loads the project into document (where the previous load still is, as
// when the window opens a project over another one).
void Load(benchmark::State& state, tw::TqzHTML& document, const std::string& path, int itemCount, int& loadedFormat)
{
    LastMessage sink;
    if (!tw::LoadProject(document, path, loadedFormat, sink))
        state.SkipWithError(sink.last.c_str());
    else if (document.Tree().Count() != static_cast<std::size_t>(itemCount) + 1)
        state.SkipWithError("load failed");
}

void SetBytesProcessed(benchmark::State& state, const std::string& path)
{
    const auto size = std::filesystem::file_size(tw::ToFsPath(path));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
    state.counters["file_MB"] = static_cast<double>(size) / (1024.0 * 1024.0);
}

// The peak heap of every benchmark is that of its first run, into an empty
// document: the file's bytes and the project built from them.
void BM_Load(benchmark::State& state)
{
    const int format = static_cast<int>(state.range(0));
    const int itemCount = static_cast<int>(state.range(1));
    const std::string& path = SavedProject(format, itemCount);
    tw::TqzHTML document;
    int loadedFormat = 1;
    ReportPeak(state, [&] { Load(state, document, path, itemCount, loadedFormat); });
    for (auto _ : state)
        Load(state, document, path, itemCount, loadedFormat);
    SetBytesProcessed(state, path);
}

void BM_Save(benchmark::State& state)
{
    const int format = static_cast<int>(state.range(0));
    const int itemCount = static_cast<int>(state.range(1));
    tw::TqzHTML document;
    FillLargeProject(document, itemCount);
    const std::string path = ProjectPath(format, itemCount) + ".save";
    const auto save = [&] {
        LastMessage sink;
        if (!tw::SaveProject(document, path, format, sink))
            state.SkipWithError(sink.last.c_str());
    };
    ReportPeak(state, save);
    for (auto _ : state)
        save();
}

// What "show" does: the load, then the JSON written to a stream that counts
// and drops it.
void BM_Show(benchmark::State& state)
{
    class Discard : public std::streambuf {
    protected:
        std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
        int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    };
    const int format = static_cast<int>(state.range(0));
    const int itemCount = static_cast<int>(state.range(1));
    const std::string& path = SavedProject(format, itemCount);
    tw::TqzHTML document;
    Discard discard;
    std::ostream out(&discard);
    int loadedFormat = 1;
    const auto show = [&] {
        Load(state, document, path, itemCount, loadedFormat);
        tw::cli::WriteProjectJson(out, document, loadedFormat);
    };
    ReportPeak(state, show);
    for (auto _ : state)
        show();
    SetBytesProcessed(state, path);
}

// The same bytes without parsing: the menu file (or binary file) read whole.
void BM_RawRead(benchmark::State& state)
{
    const std::string& path = SavedProject(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const auto read = [&] { benchmark::DoNotOptimize(tw::ReadFileBytes(path).size()); };
    ReportPeak(state, read);
    for (auto _ : state)
        read();
}

// The same bytes written plainly, and written the way saves write them
// (temporary file, flushed to disk, renamed over the target).
void BM_RawWrite(benchmark::State& state)
{
    const std::string bytes =
        tw::ReadFileBytes(SavedProject(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    const std::string path = BenchDirectory() + "/raw.bin";
    for (auto _ : state) {
        std::ofstream out(tw::ToFsPath(path), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

void BM_RawWriteAtomically(benchmark::State& state)
{
    const std::string bytes =
        tw::ReadFileBytes(SavedProject(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
    const std::string path = BenchDirectory() + "/raw.bin";
    for (auto _ : state)
        tw::WriteFileAtomically(path, bytes);
}

// The least any loader that keeps its texts in std::string has to build from
// the binary file: per record a node with caption, link and target, parent,
// row and list of children, the nodes from a bump arena. A yardstick for
// BM_Load, which builds the document's own tree.
struct FloorNode {
    std::string caption, link, target;
    FloorNode* parent;
    std::size_t row;
    std::vector<FloorNode*> children;
};

class FloorTree {
public:
    FloorTree() : root_{{}, {}, {}, nullptr, 0, {}} {}
    ~FloorTree() { Clear(); }
    FloorTree(const FloorTree&) = delete;
    FloorTree& operator=(const FloorTree&) = delete;

    FloorNode& Root() { return root_; }
    std::size_t Count() const { return count_; }

    FloorNode& Add(FloorNode& parent, std::string_view caption, std::string_view link, std::string_view target)
    {
        if (used_ == ChunkNodes) {
            chunks_.push_back(std::make_unique_for_overwrite<Slot[]>(ChunkNodes));
            used_ = 0;
        }
        auto* node = new (&chunks_.back()[used_++]) FloorNode{
            std::string(caption), std::string(link), std::string(target), &parent, parent.children.size(), {}};
        parent.children.push_back(node);
        ++count_;
        return *node;
    }

    // Frees the nodes in the order they were made, and the arena.
    void Clear()
    {
        for (std::size_t chunk = 0; chunk < chunks_.size(); ++chunk) {
            const std::size_t used = chunk + 1 == chunks_.size() ? used_ : ChunkNodes;
            for (std::size_t slot = 0; slot < used; ++slot)
                std::launder(reinterpret_cast<FloorNode*>(&chunks_[chunk][slot]))->~FloorNode();
        }
        chunks_.clear();
        used_ = ChunkNodes;
        root_.children.clear();
        count_ = 0;
    }

private:
    static constexpr std::size_t ChunkNodes = 512;
    struct Slot {
        alignas(FloorNode) std::byte bytes[sizeof(FloorNode)];
    };
    FloorNode root_;
    std::vector<std::unique_ptr<Slot[]>> chunks_;
    std::size_t used_ = ChunkNodes;
    std::size_t count_ = 0;
};

// Reads the file, frees the previous tree and builds the new one from the
// item block, with the records placed by their levels as the load does.
void LoadFloor(FloorTree& tree, const std::string& path)
{
    const std::string bytes = tw::ReadFileBytes(path);
    tree.Clear();
    tw::ByteReader file(bytes);
    file.Take(6); // magic and version
    tw::BlockReader block(file);
    std::vector<std::pair<FloorNode*, int>> placement{{&tree.Root(), -1}};
    std::string captionPieces, linkPieces, targetPieces;
    while (block.HasContent()) {
        const std::string_view caption = block.ReadText(captionPieces);
        const std::string_view link = block.ReadText(linkPieces);
        const std::string_view target = block.ReadText(targetPieces);
        block.SkipText();
        const int level = block.ReadByte();
        while (placement.size() > 1 && placement.back().second >= level)
            placement.pop_back();
        placement.push_back({&tree.Add(*placement.back().first, caption, link, target), level});
    }
}

void BM_StdStringTreeFloor(benchmark::State& state)
{
    const int itemCount = static_cast<int>(state.range(1));
    const std::string& path = SavedProject(static_cast<int>(state.range(0)), itemCount);
    FloorTree tree;
    const auto load = [&] {
        LoadFloor(tree, path);
        if (tree.Count() != static_cast<std::size_t>(itemCount))
            state.SkipWithError("load failed");
    };
    ReportPeak(state, load);
    for (auto _ : state)
        load();
    SetBytesProcessed(state, path);
}

// Every format with the project and one of twice its size, to show that the
// time grows linearly.
void Formats(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"format", "items"});
    for (int format : {tw::pfBinaryV11, tw::pfBinaryV10, tw::pfText}) {
        for (int items : {ItemCount, 2 * ItemCount})
            benchmark->Args({format, items});
    }
    benchmark->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Load)->Apply(Formats);
BENCHMARK(BM_Show)->Apply(Formats);
BENCHMARK(BM_StdStringTreeFloor)
    ->ArgNames({"format", "items"})
    ->Args({tw::pfBinaryV11, ItemCount})
    ->Args({tw::pfBinaryV11, 2 * ItemCount})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawRead)->Apply(Formats);
BENCHMARK(BM_Save)->Apply(Formats);
BENCHMARK(BM_RawWrite)->Apply(Formats);
BENCHMARK(BM_RawWriteAtomically)->Apply(Formats);

} // namespace
