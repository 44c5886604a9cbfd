// Keeping the recovery copy of a project of 100,000 items: how long the
// window is held up (taking the document's bytes; the file is written in the
// background), and the whole write for comparison.
#include "document/qzhtml.h"
#include "shell/documenteditor.h"
#include "shell/project.h"
#include "shell/recoverykeeper.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int Branches = 100;
constexpr int LeavesPerBranch = 999; // with the branches and the top: 100,001 items

struct Kept {
    tw::Project project;
    QTemporaryDir folder;
    tw::RecoveryKeeper keeper{project, folder.path(), tw::RecoveryKeeper::DefaultIntervalMs};

    Kept()
    {
        tw::TqzHTML& document = project.Document();
        tw::MenuTree& tree = document.Tree();
        tw::MenuNode& top = tree.AddChild(tree.Root(), "Top");
        document.CreateItemData(top);
        for (int b = 0; b < Branches; ++b) {
            tw::MenuNode& branch = tree.AddChild(top, "Branch " + std::to_string(b));
            document.CreateItemData(branch);
            for (int l = 0; l < LeavesPerBranch; ++l)
                document.CreateItemData(tree.AddChild(branch, "Leaf " + std::to_string(l)));
        }
        project.Editor().SetFileSetting(tw::fsFilename, QStringLiteral("index.htm"));
    }
};

Kept& Shared()
{
    static int argc = 1;
    static char name[] = "bench_shell";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static Kept kept;
    return kept;
}

// What the window waits for: the bytes are taken, the writing is queued.
void BM_RecoveryCopyBlocksTheWindow(benchmark::State& state)
{
    Kept& project = Shared();
    for (auto _ : state) {
        project.keeper.Write();
        state.PauseTiming();
        project.keeper.WaitForWriting();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RecoveryCopyBlocksTheWindow)->Unit(benchmark::kMillisecond);

// Taking the bytes and writing the file to disk, as on SIGTERM.
void BM_RecoveryCopyWrittenAtOnce(benchmark::State& state)
{
    Kept& project = Shared();
    for (auto _ : state)
        project.keeper.WriteNow();
}
BENCHMARK(BM_RecoveryCopyWrittenAtOnce)->Unit(benchmark::kMillisecond);

} // namespace
