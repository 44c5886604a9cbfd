#include "platform/error.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/outputfolder.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tw {
namespace {

TEST(Paths, BothSeparatorsCount)
{
    EXPECT_EQ(ExtractFilePath("C:\\web\\menu\\index.htm"), "C:\\web\\menu\\");
    EXPECT_EQ(ExtractFileName("C:\\web\\menu\\index.htm"), "index.htm");
    EXPECT_EQ(ExtractFilePath("/srv/web/index.htm"), "/srv/web/");
    EXPECT_EQ(ExtractFileName("C:x.htm"), "x.htm");
    EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
    EXPECT_EQ(ExtractFileExt("/a/c.twf"), ".twf");
    EXPECT_EQ(ChangeFileExt("/a.b/menu", ".tws"), "/a.b/menu.tws");
    EXPECT_EQ(ChangeFileExt("C:\\p\\menu.twf", ".twv"), "C:\\p\\menu.twv");
}

TEST(Paths, AColonIsADriveOnlyAfterALetterAtTheStart)
{
    EXPECT_EQ(ExtractFilePath("out/menu:v2.htm"), "out/");
    EXPECT_EQ(ExtractFileName("out/menu:v2.htm"), "menu:v2.htm");
    EXPECT_EQ(ExtractFileName("menu:v2.htm"), "menu:v2.htm");
    EXPECT_EQ(ChangeFileExt("a:b", ".twv"), "a:b.twv");
    EXPECT_EQ(ExtractFilePath("1:x.htm"), "");
    EXPECT_EQ(ExtractFilePath("d:x.htm"), "d:");
}

TEST(Files, UmlautPathsAndAtomicReplacement)
{
    const auto dir = std::filesystem::temp_directory_path() / ("tw_files_test_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = FromFsPath(dir) + "/Men\xFC.htm";
    WriteFileAtomically(path, "eins");
    WriteFileAtomically(path, "zwei", "Fehler %s", false);
    EXPECT_EQ(ReadFileBytes(path), "zwei");
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(std::filesystem::exists(dir / u8"Men\u00FC.htm"));
    // Nothing but the file itself is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
    EXPECT_THROW(ReadFileBytes(FromFsPath(dir) + "/none"), Error);
    try {
        ReadFileBytes(FromFsPath(dir));
        ADD_FAILURE() << "a directory was read as a file";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Die Datei " + FromFsPath(dir) +
                                             " kann nicht ge\xF6"
                                             "ffnet werden. Der Pfad bezeichnet einen Ordner.");
    }
    EXPECT_THROW(WriteFileAtomically(FromFsPath(dir) + "/no/such/dir/x", "y"), Error);
    std::filesystem::remove_all(dir);
}

class FilesTest : public ::testing::Test {
protected:
    FilesTest()
    {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~FilesTest() override
    {
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir_);
    }
    std::string PathOf(const std::string& name) const { return FromFsPath(dir_ / name); }
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string ErrorOf(const std::string& path, const std::string& bytes) const
    {
        try {
            WriteFileAtomically(path, bytes);
        } catch (const Error& error) {
            return error.what();
        }
        return {};
    }

    // ctest runs the tests of this fixture side by side, each in a process.
    const std::filesystem::path dir_ =
        std::filesystem::temp_directory_path() / ("tw_files_fixture_" + std::to_string(getpid()));
};

TEST_F(FilesTest, NoRegularFileIsReadOrReplaced)
{
    ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
    EXPECT_THROW(ReadFileBytes(PathOf("fifo")), Error); // would block without a writer
    EXPECT_THROW(IniFile::Load(PathOf("fifo")), Error);
    EXPECT_EQ(ErrorOf(PathOf("fifo"), "x"),
              "Fehler beim Erstellen der Datei " + PathOf("fifo") + ": Sie ist keine gew\xF6hnliche Datei.");
    EXPECT_TRUE(std::filesystem::is_fifo(dir_ / "fifo"));
    EXPECT_EQ(Listing(), std::vector<std::string>{"fifo"});
}

TEST_F(FilesTest, LongNamesLinksAndReadOnlyTargets)
{
    // A name of the longest length a name may have still gets its temporary file.
    const std::string longName = std::string(251, 'n') + ".twb";
    WriteFileAtomically(PathOf(longName), "lang");
    EXPECT_EQ(ReadFileBytes(PathOf(longName)), "lang");

    // Through a link the file it points to is replaced, and the link stays.
    std::filesystem::create_directory(dir_ / "real");
    WriteFileAtomically(PathOf("real/p.twb"), "alt");
    std::filesystem::create_symlink("real/p.twb", dir_ / "link.twb");
    WriteFileAtomically(PathOf("link.twb"), "neu");
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.twb"));
    EXPECT_EQ(ReadFileBytes(PathOf("real/p.twb")), "neu");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "real"), {}), 1);

    // A file its owner made read-only is not replaced, also for root.
    WriteFileAtomically(PathOf("ro.twb"), "alt");
    std::filesystem::permissions(dir_ / "ro.twb", std::filesystem::perms::owner_read);
    EXPECT_EQ(ErrorOf(PathOf("ro.twb"), "neu"),
              "Fehler beim Erstellen der Datei " + PathOf("ro.twb") + ": Die Datei ist schreibgesch\xFCtzt.");
    EXPECT_EQ(ReadFileBytes(PathOf("ro.twb")), "alt");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"link.twb", longName, "real", "ro.twb"}));
}

TEST_F(FilesTest, GeneratedFileHoldingItsBytesIsLeftAloneAndAChangedOneReplaced)
{
    const std::string path = PathOf("menu.htm");
    OutputFolder folder(PathOf(""));
    EXPECT_TRUE(folder.WriteUnlessUnchanged("menu.htm", "<ul>alt</ul>", "%s"));
    std::filesystem::permissions(dir_ / "menu.htm", std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_write |
                                                        std::filesystem::perms::others_read);
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    EXPECT_FALSE(folder.WriteUnlessUnchanged("menu.htm", "<ul>alt</ul>", "%s"));
    struct stat same {};
    ASSERT_EQ(::stat(path.c_str(), &same), 0);
    EXPECT_EQ(same.st_ino, before.st_ino);

    // The same size with other bytes is a change; the mode stays.
    EXPECT_TRUE(folder.WriteUnlessUnchanged("menu.htm", "<ul>neu</ul>", "%s"));
    struct stat changed {};
    ASSERT_EQ(::stat(path.c_str(), &changed), 0);
    EXPECT_NE(changed.st_ino, before.st_ino);
    EXPECT_EQ(changed.st_mode, before.st_mode);
    EXPECT_EQ(ReadFileBytes(path), "<ul>neu</ul>");

    std::filesystem::create_directory(dir_ / "ordner");
    EXPECT_THROW(folder.WriteUnlessUnchanged("ordner", "", "%s"), Error);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"menu.htm", "ordner"}));
}

// A link planted under an output name, pointing out of the folder or
// nowhere, is refused and named; nothing outside the folder changes.
TEST_F(FilesTest, GeneratedFilesAreNeverWrittenThroughLinks)
{
    std::filesystem::create_directories(dir_ / "out");
    WriteFileAtomically(PathOf("fremd.txt"), "fremd");
    std::filesystem::create_symlink("../fremd.txt", dir_ / "out/menu.htm");
    std::filesystem::create_symlink("../neu.txt", dir_ / "out/Child1.htm");
    OutputFolder folder(PathOf("out/"));
    for (const char* name : {"menu.htm", "Child1.htm"}) {
        try {
            folder.WriteUnlessUnchanged(name, "<ul></ul>", "Fehler beim Erstellen der Datei %s");
            ADD_FAILURE() << name << " was written";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), "Fehler beim Erstellen der Datei " + PathOf("out/") + name +
                                                     ": Sie ist eine symbolische Verkn\xFCpfung.");
        }
    }
    EXPECT_EQ(ReadFileBytes(PathOf("fremd.txt")), "fremd");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"fremd.txt", "out"}));
}

// A writer killed between naming its temporary file and the rename leaves
// the name behind; the next writer in that folder clears it away. Whether
// the writer still runs is told by the lock it holds on the file, not by the
// process id in the name, which may belong to another PID namespace (a
// container) and name a process that is gone here.
TEST_F(FilesTest, TemporariesOfLiveWritersStayAndThoseOfKilledOnesGo)
{
    const pid_t gone = fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string living = ".tw" + std::to_string(gone) + "-0badc0de.tmp";
    const std::string left = ".tw" + std::to_string(getpid()) + "-0badc0de.tmp";
    WriteFileAtomically(PathOf(left), "halb");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        const int fd = ::open(PathOf(living).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        const bool held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        (void)!::write(ready[1], held ? "1" : "0", 1);
        for (;;)
            ::pause();
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, '1');
    OutputFolder(PathOf("")).WriteUnlessUnchanged("menu.htm", "<ul></ul>", "%s");
    EXPECT_EQ(Listing(), (std::vector<std::string>{living, "menu.htm"}));
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    WriteFileAtomically(PathOf("p.twb"), "neu");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"menu.htm", "p.twb"}));
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST_F(FilesTest, FailuresNameTheirReason)
{
    EXPECT_EQ(ErrorOf(PathOf("fehlt/x.htm"), "x"), "Fehler beim Erstellen der Datei " + PathOf("fehlt/x.htm") +
                                                       ": Der Ordner oder die Datei ist nicht vorhanden.");
    EXPECT_EQ(ErrorOf(PathOf(std::string(256, 'n')), "x"),
              "Fehler beim Erstellen der Datei " + PathOf(std::string(256, 'n')) + ": Der Dateiname ist zu lang.");
    // Root may write into a read-only folder; everyone else is refused.
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (geteuid() != 0) {
        EXPECT_EQ(ErrorOf(PathOf("x.htm"), "x"),
                  "Fehler beim Erstellen der Datei " + PathOf("x.htm") + ": Keine Berechtigung.");
    }
}

TEST_F(FilesTest, OnlyRegularFilesAreListedAndDeleted)
{
    WriteFileAtomically(PathOf("a.htm"), "a");
    WriteFileAtomically(PathOf("\u00DC.htm"), "\xFC");
    std::filesystem::create_directory(dir_ / "ordner");
    std::filesystem::create_symlink("a.htm", dir_ / "link.htm");
    ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
    // A name Windows-1252 cannot hold could not be named again.
    std::ofstream(dir_ / std::filesystem::path(u8"\u2713.htm")) << "x";
    std::vector<std::string> names = RegularFileNames(PathOf(""));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.htm", "\xDC.htm"}));

    const auto errorOf = [](const std::string& path) {
        try {
            DeleteRegularFile(path);
        } catch (const Error& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    const std::string cannot = " kann nicht gel\xF6scht werden. ";
    EXPECT_EQ(errorOf(PathOf("link.htm")),
              "Die Datei " + PathOf("link.htm") + cannot + "Sie ist keine gew\xF6hnliche Datei.");
    EXPECT_EQ(errorOf(PathOf("ordner")),
              "Die Datei " + PathOf("ordner") + cannot + "Der Pfad bezeichnet einen Ordner.");
    EXPECT_EQ(errorOf(PathOf("fehlt.htm")),
              "Die Datei " + PathOf("fehlt.htm") + cannot + "Der Ordner oder die Datei ist nicht vorhanden.");
    // Deleting stale files follows the rule of replacing them: a file its
    // owner made read-only stays.
    std::filesystem::permissions(dir_ / "a.htm", std::filesystem::perms::owner_read);
    EXPECT_EQ(errorOf(PathOf("a.htm")), "Die Datei " + PathOf("a.htm") + cannot + "Die Datei ist schreibgesch\xFCtzt.");
    std::filesystem::permissions(dir_ / "a.htm", std::filesystem::perms::owner_all);
    EXPECT_EQ(errorOf(PathOf("\u00DC.htm")), "");
    EXPECT_EQ(Listing(), (std::vector<std::string>{"a.htm", "fifo", "link.htm", "ordner", "\u2713.htm"}));

    EXPECT_THROW(RegularFileNames(PathOf("fehlt")), Error);
}

// A writer killed at any moment of its save leaves the old file or the new
// one, complete, and no temporary file.
TEST_F(FilesTest, KilledWriterLeavesTheOldOrTheNewFileAndNoTemporary)
{
    const std::string oldBytes(1 << 20, 'a');
    const std::string newBytes(1 << 20, 'b');
    std::mt19937 random(7);
    // Killed between naming its temporary file and the rename, a writer
    // leaves that name; the next save in the folder clears it away.
    const auto saveOldBytes = [&] {
        WriteFileAtomically(PathOf("p.twb"), oldBytes, "%s", false);
        EXPECT_EQ(Listing(), std::vector<std::string>{"p.twb"});
    };
    for (int round = 0; round < 20; ++round) {
        saveOldBytes();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;)
                WriteFileAtomically(PathOf("p.twb"), newBytes);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = ReadFileBytes(PathOf("p.twb"));
        EXPECT_TRUE(now == oldBytes || now == newBytes) << "round " << round;
    }
    saveOldBytes();
}

} // namespace
} // namespace tw
