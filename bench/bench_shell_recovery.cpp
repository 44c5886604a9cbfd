// Keeping the recovery copy of a project of 100,000 items: how long the
// window is held up (taking the document's bytes; the file is written in the
// background), and the whole write for comparison.
#include "document/qzhtml.h"
#include "guibase/dialogs.h"
#include "shell/documenteditor.h"
#include "shell/projectsession.h"
#include "shell/recoverykeeper.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int Branches = 100;
constexpr int LeavesPerBranch = 999; // with the branches and the top: 100,001 items

// Nothing is asked while measuring.
class SilentDialogs : public tw::Dialogs {
public:
    void Message(QWidget*, const QString&) override {}
    tw::Answer Confirm(QWidget*, const QString&, bool) override { return tw::Answer::Cancel; }
    int Choose(QWidget*, const QString&, const QStringList&) override { return -1; }
    tw::Answer ConfirmDeletion(QWidget*, const QString&, const QString&) override { return tw::Answer::No; }
    std::optional<QString> OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    std::optional<tw::SaveChoice> SaveFile(QWidget*, const tw::SaveRequest&) override { return {}; }
    std::optional<unsigned> ChooseColor(QWidget*, unsigned) override { return {}; }
    std::optional<QString> ChooseImportSource(QWidget*, const QString&) override { return {}; }
};

struct Project {
    SilentDialogs dialogs;
    tw::ProjectSession session{dialogs};
    QTemporaryDir folder;
    tw::RecoveryKeeper keeper{session, folder.path()};

    Project()
    {
        tw::TqzHTML& document = session.Document();
        tw::MenuTree& tree = document.Tree();
        tw::MenuNode& top = tree.AddChild(tree.Root(), "Top");
        document.CreateItemData(top);
        for (int b = 0; b < Branches; ++b) {
            tw::MenuNode& branch = tree.AddChild(top, "Branch " + std::to_string(b));
            document.CreateItemData(branch);
            for (int l = 0; l < LeavesPerBranch; ++l)
                document.CreateItemData(tree.AddChild(branch, "Leaf " + std::to_string(l)));
        }
        session.Editor().SetFileSetting(tw::fsFilename, QStringLiteral("index.htm"));
    }
};

Project& Shared()
{
    static int argc = 1;
    static char name[] = "bench_shell";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static Project project;
    return project;
}

// What the window waits for: the bytes are taken, the writing is queued.
void BM_RecoveryCopyBlocksTheWindow(benchmark::State& state)
{
    Project& project = Shared();
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
    Project& project = Shared();
    for (auto _ : state)
        project.keeper.WriteNow();
}
BENCHMARK(BM_RecoveryCopyWrittenAtOnce)->Unit(benchmark::kMillisecond);

} // namespace
