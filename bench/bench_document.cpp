#include "document/cstring.h"
#include "document/menutree.h"

#include <benchmark/benchmark.h>

namespace {

// A line of about 1 MiB per 100,000 placeholders, each placeholder followed
// by filler text.
std::string PlaceholderLine(std::size_t placeholders)
{
    std::string line;
    line.reserve(placeholders * 11);
    for (std::size_t i = 0; i < placeholders; ++i)
        line += "$Link$abcd";
    return line;
}

void BM_ReplaceAll(benchmark::State& state)
{
    const std::string line = PlaceholderLine(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string text = line;
        tw::ReplaceAll(text, "$link$", "index.htm", false);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ReplaceAll)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

// Every replacement forms a new occurrence across its seam ("aaa...ab").
void BM_ReplaceAllSeams(benchmark::State& state)
{
    const std::string line = std::string(static_cast<std::size_t>(state.range(0)), 'a') + "b";
    for (auto _ : state) {
        std::string text = line;
        tw::ReplaceAll(text, "ab", "b", true);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ReplaceAllSeams)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BuildTree(tw::MenuTree& tree, std::size_t nodes)
{
    // Ten children per node, breadth first, as a wide menu would be.
    std::vector<tw::MenuNode*> parents{&tree.Root()};
    std::size_t next = 0;
    while (tree.Count() <= nodes) {
        tw::MenuNode& child = tree.AddChild(*parents[next / 10], "Men\xFCpunkt");
        parents.push_back(&child);
        ++next;
    }
}

void BM_PreOrderWalk(benchmark::State& state)
{
    tw::MenuTree tree;
    BuildTree(tree, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::size_t levels = 0;
        for (const tw::MenuNode* n = &tree.Root(); n; n = n->NextPreOrder())
            levels += n->ChildCount();
        benchmark::DoNotOptimize(levels);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * tree.Count()));
}
BENCHMARK(BM_PreOrderWalk)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

} // namespace
