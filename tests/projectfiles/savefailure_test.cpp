#include "projectfiles_fixture.h"

#include "projectfiles/projectfiles.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tw::test {
namespace {

// Makes every write beyond limit bytes into a file fail (as a full disk
// would), also for root, while the object lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit reduced = previous_;
        reduced.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &reduced);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

constexpr rlim_t SmallFileLimit = 16384;

class SaveFailure : public ProjectFilesTest {
protected:
    // A project whose files are far larger than the limit used below.
    void MakeLarge()
    {
        for (int i = 0; i < 2000; ++i)
            AddItem(document_, document_.Tree().Root(), "Men\xFCpunkt " + std::to_string(i), "seite.htm");
        document_.Variables().AddVariable("Gross", std::string(60000, 'v'), false);
    }
};

TEST_F(SaveFailure, FailedBinaryWriteLeavesTheOldFile)
{
    FillSampleProject(document_);
    for (int format : {pfBinaryV11, pfBinaryV10}) {
        ASSERT_TRUE(SaveProject(document_, PathOf("p.twb"), format, sink_));
        const std::string old = ReadBytes("p.twb");
        MakeLarge();
        {
            FileSizeLimit limit(SmallFileLimit);
            EXPECT_FALSE(SaveProject(document_, PathOf("p.twb"), format, sink_));
        }
        EXPECT_EQ(ReadBytes("p.twb"), old);
        EXPECT_EQ(DirectoryListing(), std::vector<std::string>{"p.twb"}); // no temporary file left
        ASSERT_EQ(sink_.texts.size(), 1u);
        EXPECT_EQ(sink_.texts[0].rfind("p.twb: ", 0), 0u);
        EXPECT_TRUE(document_.Modified());
        sink_.texts.clear();
        document_.Reset();
        FillSampleProject(document_);
    }
}

TEST_F(SaveFailure, FailedTextWriteLeavesAllThreeOldFiles)
{
    FillSampleProject(document_);
    ASSERT_TRUE(SaveProject(document_, PathOf("p.twf"), pfText, sink_));
    const std::string twf = ReadBytes("p.twf");
    const std::string tws = ReadBytes("p.tws");
    const std::string twv = ReadBytes("p.twv");
    MakeLarge();
    {
        FileSizeLimit limit(SmallFileLimit);
        EXPECT_FALSE(SaveProject(document_, PathOf("p.twf"), pfText, sink_));
    }
    EXPECT_EQ(ReadBytes("p.twf"), twf);
    EXPECT_EQ(ReadBytes("p.tws"), tws);
    EXPECT_EQ(ReadBytes("p.twv"), twv);
    EXPECT_EQ(DirectoryListing(), (std::vector<std::string>{"p.twf", "p.tws", "p.twv"}));
    EXPECT_EQ(sink_.texts.size(), 1u);
}

TEST_F(SaveFailure, ALaterFileThatFailsKeepsTheEarlierOnesOld)
{
    FillSampleProject(document_);
    ASSERT_TRUE(SaveProject(document_, PathOf("p.twf"), pfText, sink_));
    const std::string twf = ReadBytes("p.twf");
    const std::string twv = ReadBytes("p.twv");
    // The menu file changes and fits; only the variables file grows beyond
    // the limit. The new menu must not be paired with the old variables.
    AddItem(document_, document_.Tree().Root(), "Neu", "neu.htm");
    document_.Variables().AddVariable("Gross", std::string(20000, 'v'), false);
    {
        FileSizeLimit limit(SmallFileLimit);
        EXPECT_FALSE(SaveProject(document_, PathOf("p.twf"), pfText, sink_));
    }
    EXPECT_EQ(ReadBytes("p.twf"), twf);
    EXPECT_EQ(ReadBytes("p.twv"), twv);
    EXPECT_EQ(DirectoryListing(), (std::vector<std::string>{"p.twf", "p.tws", "p.twv"}));
    ASSERT_EQ(sink_.texts.size(), 1u);
    EXPECT_EQ(sink_.texts[0], "p.twf: Fehler beim Erstellen der Datei " + PathOf("p.twv") +
                                  ": Die zul\xE4ssige Dateigr\xF6\xDF"
                                  "e ist \xFC"
                                  "berschritten.");
    EXPECT_TRUE(document_.Modified());
}

// A real full disk: a small tmpfs, which only root may mount.
TEST_F(SaveFailure, FullDiskKeepsAllThreeOldFilesAndNoTemporary)
{
    const auto small = dir_.Path() / "klein";
    std::filesystem::create_directory(small);
    if (geteuid() != 0 || mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const struct Unmount {
        const std::filesystem::path& path;
        ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
    } unmount{small};
    FillSampleProject(document_);
    const std::string menu = PathOf("klein/p.twf");
    ASSERT_TRUE(SaveProject(document_, menu, pfText, sink_));
    const std::vector<std::string> old{ReadBytes("klein/p.twf"), ReadBytes("klein/p.tws"), ReadBytes("klein/p.twv")};
    std::ofstream(small / "fill", std::ios::binary) << std::string(52000, 'f');
    MakeLarge();
    EXPECT_FALSE(SaveProject(document_, menu, pfText, sink_));
    EXPECT_EQ((std::vector<std::string>{ReadBytes("klein/p.twf"), ReadBytes("klein/p.tws"), ReadBytes("klein/p.twv")}),
              old);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(small))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"fill", "p.twf", "p.tws", "p.twv"}));
    ASSERT_EQ(sink_.texts.size(), 1u);
    EXPECT_NE(sink_.texts[0].find(": Der Datentr\xE4ger ist voll."), std::string::npos) << sink_.texts[0];
}

TEST_F(SaveFailure, TargetsThatCannotBeCreated)
{
    WriteBytes("datei", "kein Verzeichnis");
    for (int format : {pfBinaryV11, pfBinaryV10, pfText}) {
        EXPECT_FALSE(SaveProject(document_, PathOf("datei/p.twb"), format, sink_));
        ASSERT_EQ(sink_.texts.size(), 1u);
        EXPECT_EQ(sink_.texts[0].rfind("p.twb: ", 0), 0u);
        sink_.texts.clear();
    }
    EXPECT_EQ(ReadBytes("datei"), "kein Verzeichnis");

    // A settings file that is a directory cannot be updated; neither of the
    // other two files is written then.
    std::filesystem::create_directory(dir_.Path() / "q.tws");
    EXPECT_FALSE(SaveProject(document_, PathOf("q.twf"), pfText, sink_));
    EXPECT_EQ(sink_.texts, std::vector<std::string>{"q.twf: Fehler beim Schreiben nach " + PathOf("q.tws") +
                                                    ": Der Pfad bezeichnet einen Ordner."});
    EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "q.twf"));
    EXPECT_FALSE(std::filesystem::exists(dir_.Path() / "q.twv"));

    EXPECT_FALSE(SaveProject(document_, PathOf("r.twb"), 4, sink_));
    EXPECT_EQ(sink_.texts.back(), "r.twb: Unbekanntes Projektformat 4");
}

} // namespace
} // namespace tw::test
