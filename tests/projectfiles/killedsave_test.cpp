#include "projectfiles_fixture.h"

#include "projectfiles/projectfiles.h"

#include <csignal>

#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tw::test {
namespace {

// Two versions of a project that differ in each of the three files.
void MakeVersion(TqzHTML& document, const std::string& name)
{
    document.Reset();
    AddItem(document, document.Tree().Root(), "Punkt " + name, name + ".htm");
    document.SetString(siTitle, "Titel " + name);
    document.Variables().AddVariable("Fassung", name, false);
}

// Which version each file of the loaded project comes from.
std::string VersionsOf(const TqzHTML& document)
{
    std::string name;
    std::string value;
    document.Variables().GetVariable(0, name, value);
    return document.Tree().Root().Child(0)->Caption().substr(6) + document.GetString(siTitle).substr(6) + value;
}

// A save killed right after its first rename, on a disk where syncing takes
// its time, leaves the three files of two saves; the next load says so
// instead of showing a project that was never saved.
TEST_F(ProjectFilesTest, AKilledTextSaveLeavesAWholeSetOrOneThatIsToldMixed)
{
    TqzHTML a;
    TqzHTML b;
    MakeVersion(a, "A");
    MakeVersion(b, "B");
    const std::string menu = PathOf("p.twf");
    for (int round = 0; round < 8; ++round) {
        ASSERT_TRUE(SaveProject(round % 2 ? b : a, menu, pfText, sink_));
        const int watch = inotify_init1(IN_CLOEXEC);
        ASSERT_GE(inotify_add_watch(watch, dir_.Path().c_str(), IN_MOVED_TO), 0);
        const pid_t saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0)
            _exit(SaveProject(round % 2 ? a : b, menu, pfText, sink_) ? 0 : 1);
        // Killed as soon as the menu file is renamed into place.
        alignas(inotify_event) char events[4096];
        for (bool renamed = false; !renamed;) {
            const ssize_t n = read(watch, events, sizeof events);
            ASSERT_GT(n, 0);
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                renamed = renamed || (event->len > 0 && std::string(event->name) == "p.twf");
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        kill(saver, SIGKILL);
        waitpid(saver, nullptr, 0);
        close(watch);

        sink_.texts.clear();
        Load("p.twf");
        const std::string versions = VersionsOf(document_);
        if (loaded_) {
            EXPECT_TRUE(versions == "AAA" || versions == "BBB") << "round " << round << ": " << versions;
        } else {
            ASSERT_EQ(sink_.texts.size(), 1u);
            EXPECT_NE(sink_.texts[0].find("verschiedenen Speicherungen"), std::string::npos) << sink_.texts[0];
        }
    }
    // A save that ends leaves no note behind.
    ASSERT_TRUE(SaveProject(a, menu, pfText, sink_));
    EXPECT_EQ(DirectoryListing(), (std::vector<std::string>{"p.twf", "p.tws", "p.twv"}));
}

} // namespace
} // namespace tw::test
