// Deleting a subtree of 100,000 items through the history, undoing and
// redoing it: undo and redo move the nodes back and forth, never copy them.
#include "document/qzhtml.h"
#include "shell/documenteditor.h"
#include "shell/menutreemodel.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Branches = 100;
constexpr int LeavesPerBranch = 999; // with the branches and the top: 100,001 items

// A document whose first item carries the subtree, with the tree view's model
// following it as in the window.
struct Project {
    tw::TqzHTML document;
    tw::MenuTreeModel model{document};
    tw::DocumentEditor editor{document};
    tw::MenuNode* top = nullptr;

    Project()
    {
        tw::MenuTree& tree = document.Tree();
        top = &tree.AddChild(tree.Root(), "Top");
        document.CreateItemData(*top);
        for (int b = 0; b < Branches; ++b) {
            tw::MenuNode& branch = tree.AddChild(*top, "Branch");
            document.CreateItemData(branch);
            for (int l = 0; l < LeavesPerBranch; ++l)
                document.CreateItemData(tree.AddChild(branch, "Leaf"));
        }
        tree.AddChild(tree.Root(), "After");
    }
};

enum class Stage { Delete, Undo, Redo };

void Run(benchmark::State& state, Stage stage)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto project = std::make_unique<Project>();
        if (stage != Stage::Delete)
            project->editor.DeleteItem(*project->top);
        if (stage == Stage::Redo)
            project->editor.Undo();
        state.ResumeTiming();
        switch (stage) {
        case Stage::Delete:
            project->editor.DeleteItem(*project->top);
            break;
        case Stage::Undo:
            project->editor.Undo();
            break;
        case Stage::Redo:
            project->editor.Redo();
            break;
        }
        state.PauseTiming();
        project.reset();
        state.ResumeTiming();
    }
    state.counters["items"] = static_cast<double>(1 + Branches + Branches * LeavesPerBranch);
}

void BM_DeleteSubtree(benchmark::State& state)
{
    Run(state, Stage::Delete);
}
void BM_UndoDeleteSubtree(benchmark::State& state)
{
    Run(state, Stage::Undo);
}
void BM_RedoDeleteSubtree(benchmark::State& state)
{
    Run(state, Stage::Redo);
}
BENCHMARK(BM_DeleteSubtree)->Unit(benchmark::kMicrosecond)->Iterations(30);
BENCHMARK(BM_UndoDeleteSubtree)->Unit(benchmark::kMicrosecond)->Iterations(30);
BENCHMARK(BM_RedoDeleteSubtree)->Unit(benchmark::kMicrosecond)->Iterations(30);

} // namespace
