#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(Files, UmlautPathsAndAtomicReplacement)
{
    const auto dir = std::filesystem::temp_directory_path() / "tw_files_test";
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

} // namespace
} // namespace tw
