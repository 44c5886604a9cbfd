// Generating, pruning and importing with hostile folders and names: nothing
// is written outside the output folder, nothing the user has is lost.
#include "cli_fixture.h"
#include "sample_project.h"

#include "document/qzhtml.h"
#include "projectfiles/projectfiles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tw::cli::test {
namespace {

using tw::test::AddItem;
using tw::test::FileNames;
namespace fs = std::filesystem;

// A template set "set" whose entries write links and captions.
std::string WriteTemplates(const TemporaryDirectory& dir)
{
    dir.Write("T/set/template.ini", "[Level]\r\nLevel0=top\r\n");
    dir.Write("T/set/Header.txt", "<h1>$Title$</h1>\r\n");
    dir.Write("T/set/Footer.txt", "<p>Ende</p>\r\n");
    dir.Write("T/set/top_MenuPoint.txt", "<a href=\"$Link$\">$Linkname$</a>\r\n");
    dir.Write("T/set/top_MPParent.txt", "<a href=\"$Link$\">$Linkname$ +</a>\r\n");
    dir.Write("T/set/top_MPOpen.txt", "<a href=\"$Link$\">$Linkname$ -</a>\r\n");
    return dir / "T";
}

// A project with items A (with A1, A2) and B and the given output file.
std::string WriteProject(const TemporaryDirectory& dir, const std::string& name, const std::string& outputFile)
{
    tw::test::RecordedMessages messages;
    TqzHTML document;
    MenuNode& a = AddItem(document, document.Tree().Root(), "A", "a.htm");
    AddItem(document, a, "A1", "a1.htm");
    AddItem(document, a, "A2", "a2.htm");
    AddItem(document, document.Tree().Root(), "B", "b.htm");
    document.SetFileSetting(fsTemplate, "set");
    document.SetFileSetting(fsFilename, outputFile);
    EXPECT_TRUE(SaveProject(document, dir / name, pfBinaryV11, messages));
    return dir / name;
}

TEST(CliHostileOutput, LinksUnderOutputNamesAreRefusedAndNothingOutsideIsWritten)
{
    const TemporaryDirectory dir;
    const std::string templates = WriteTemplates(dir);
    dir.Write("geheim.txt", "geheim");
    fs::create_directories(dir.Path() / "out");
    fs::create_symlink("../geheim.txt", dir.Path() / "out/menu.htm");
    fs::create_symlink("../neu.txt", dir.Path() / "out/Child1.htm");
    const std::string project = WriteProject(dir, "p.twb", dir / "out/menu.htm");

    const ProgramResult result = RunProgram({"generate", project, "--templates", templates});

    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Fehler beim Erstellen der Datei " + (dir / "out/menu.htm") +
                              ": Sie ist eine symbolische Verkn\u00FCpfung.\n");
    fs::remove(dir.Path() / "out/menu.htm");
    const ProgramResult dangling = RunProgram({"generate", project, "--templates", templates});
    EXPECT_EQ(dangling.err, "Fehler beim Erstellen der Datei " + (dir / "out/Child1.htm") +
                                ": Sie ist eine symbolische Verkn\u00FCpfung.\n");
    EXPECT_EQ(ReadBytes(dir.Path() / "geheim.txt"), "geheim");
    EXPECT_FALSE(fs::exists(dir.Path() / "neu.txt"));
}

TEST(CliHostileOutput, SnippetsAreReadOnlyFromTheTemplateSetsFolder)
{
    const TemporaryDirectory dir;
    const std::string templates = WriteTemplates(dir);
    dir.Write("geheim.txt", "root:x:0:0");
    fs::remove(dir.Path() / "T/set/Footer.txt");
    fs::create_symlink("../../geheim.txt", dir.Path() / "T/set/Footer.txt");
    // A link to another file of the set is how one snippet serves twice.
    fs::create_symlink("top_MPParent.txt", dir.Path() / "T/set/top_MPOpen.txt.link");
    const std::string project = WriteProject(dir, "p.twb", dir / "out/menu.htm");

    const ProgramResult result = RunProgram({"generate", project, "--templates", templates});

    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Die Datei " + (dir / "T/set/Footer.txt") +
                              " kann nicht ge\u00F6ffnet werden. Sie verweist auf eine Datei au\u00DFerhalb ihres "
                              "Ordners.\n");
    EXPECT_TRUE(FileNames(dir.Path() / "out").empty());
    fs::remove(dir.Path() / "T/set/Footer.txt");
    fs::create_symlink("Header.txt", dir.Path() / "T/set/Footer.txt");
    ASSERT_EQ(RunProgram({"generate", project, "--templates", templates}).status, 0);
    EXPECT_EQ(ReadBytes(dir.Path() / "out/menu.htm").find("root:"), std::string::npos);
}

// The project's own output name is taken from the project's folder, not
// from wherever the command runs; --prune keeps to that folder too and
// leaves a read-only stale file as generate would.
TEST(CliHostileOutput, RelativeOutputNamesStartAtTheProjectAndPruneSparesReadOnlyFiles)
{
    const TemporaryDirectory dir;
    const std::string templates = WriteTemplates(dir);
    fs::create_directories(dir.Path() / "projekt");
    const std::string project = WriteProject(dir, "projekt/p.twb", "out/menu.htm");
    dir.Write("projekt/out/Child7.htm", "alt");
    dir.Write("projekt/out/Child8.htm", "alt, schreibgesch\xFCtzt");
    fs::permissions(dir.Path() / "projekt/out/Child8.htm", fs::perms::owner_read);

    const ProgramResult result = RunProgram({"generate", project, "--templates", templates, "--prune"});

    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Gel\u00F6scht: " + (dir / "projekt/out/Child7.htm") + "\nDie Datei " +
                              (dir / "projekt/out/Child8.htm") +
                              " kann nicht gel\u00F6scht werden. Die Datei ist schreibgesch\u00FCtzt.\n");
    EXPECT_EQ(FileNames(dir.Path() / "projekt/out"),
              (std::vector<std::string>{"Child1.htm", "Child8.htm", "menu.htm"}));
    EXPECT_FALSE(fs::exists("out"));
}

// Links back to the main file lead to it whatever its name holds.
TEST(CliHostileOutput, LinksToTheMainFileAreEscaped)
{
    const TemporaryDirectory dir;
    const std::string templates = WriteTemplates(dir);
    const std::string project = WriteProject(dir, "p.twb", dir / "out/men #1?%41.htm");

    ASSERT_EQ(RunProgram({"generate", project, "--templates", templates}).status, 0);

    EXPECT_NE(ReadBytes(dir.Path() / "out/Child1.htm").find("<a href=\"men %231%3F%2541.htm\">A -</a>"),
              std::string::npos)
        << ReadBytes(dir.Path() / "out/Child1.htm");
}

TEST(CliHostileOutput, TheSizeLimitSaysWhichLimitAndWhere)
{
    tw::test::RecordedMessages messages;
    const TemporaryDirectory dir;
    const std::string templates = WriteTemplates(dir);
    const std::string project = WriteProject(dir, "p.twb", dir / "out/menu.htm");
    fs::create_directories(dir.Path() / "out");
    const std::string line(1 << 20, 'x');
    std::string big;
    for (int i = 0; i < 65; ++i)
        big += line + "\r\n";
    dir.Write("T/set/Footer.txt", big);

    const ProgramResult result = RunProgram({"generate", project, "--templates", templates});

    EXPECT_EQ(result.err, "Fehler beim Erstellen der Datei " + (dir / "out/menu.htm") +
                              ": Der Baustein \u201EFooter.txt\u201C ist gr\u00F6\u00DFer als 64 MB, die Grenze "
                              "f\u00FCr eine erzeugte Datei.\n");
    dir.Write("T/set/Footer.txt", "");
    dir.Write("T/set/top_MenuPoint.txt", line + "\r\n");
    TqzHTML document;
    for (int i = 0; i < 70; ++i)
        AddItem(document, document.Tree().Root(), "Punkt " + std::to_string(i));
    document.SetFileSetting(fsTemplate, "set");
    ASSERT_TRUE(SaveProject(document, dir / "viele.twb", pfBinaryV11, messages));
    const ProgramResult many =
        RunProgram({"generate", dir / "viele.twb", "--templates", templates, "--output", dir / "out/menu.htm"});
    EXPECT_EQ(many.err, "Fehler beim Erstellen der Datei " + (dir / "out/menu.htm") +
                            ": Die Datei w\u00FCrde gr\u00F6\u00DFer als 64 MB, die Grenze f\u00FCr eine erzeugte "
                            "Datei (erreicht beim Men\u00FCpunkt \u201EPunkt 63\u201C).\n");
}

TEST(CliHostileOutput, ImportRefusesToOverwriteItsSource)
{
    const TemporaryDirectory dir;
    const std::string sitemap = "<urlset><url><loc>https://s.example/a.html</loc></url></urlset>";
    dir.Write("karte.twb", sitemap);
    dir.Write("karte.tws", sitemap);

    for (const char* output : {"karte.twb", "karte.twf"}) {
        const std::string source = dir / (std::string(output) == "karte.twb" ? "karte.twb" : "karte.tws");
        const ProgramResult result = RunProgram({"import", source, "--output", dir / output});
        EXPECT_EQ(result.status, 1) << output;
        EXPECT_NE(result.err.find("ist die Quelle des Imports und wird nicht \u00FCberschrieben"), std::string::npos)
            << result.err;
    }
    EXPECT_EQ(ReadBytes(dir.Path() / "karte.twb"), sitemap);
    EXPECT_EQ(ReadBytes(dir.Path() / "karte.tws"), sitemap);
}

// A generation killed at any moment leaves each file old or new, complete,
// and at most for a moment a temporary file, which the next one clears.
TEST(CliHostileOutput, KilledGenerationLeavesNoTemporaryFileBehind)
{
    tw::test::RecordedMessages messages;
    const TemporaryDirectory dir;
    const std::string templates = WriteTemplates(dir);
    TqzHTML document;
    for (int i = 0; i < 300; ++i) {
        MenuNode& item = AddItem(document, document.Tree().Root(), "Punkt " + std::to_string(i));
        AddItem(document, item, "Unterpunkt");
    }
    document.SetFileSetting(fsTemplate, "set");
    ASSERT_TRUE(SaveProject(document, dir / "p.twb", pfBinaryV11, messages));
    fs::create_directories(dir.Path() / "out");
    const std::vector<std::string> arguments = {"generate", dir / "p.twb", "--templates",
                                                templates,  "--output",    dir / "out/menu.htm"};
    ASSERT_EQ(RunProgram(arguments).status, 0);
    std::vector<char*> argv;
    std::vector<std::string> command = arguments;
    command.insert(command.begin(), TW_CLI_PROGRAM);
    for (std::string& argument : command)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    for (int round = 0; round < 40; ++round) {
        // Every file changes with the title, so every one is replaced.
        document.SetString(1, "Runde " + std::to_string(round));
        ASSERT_TRUE(SaveProject(document, dir / "p.twb", pfBinaryV11, messages));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 2);
            execv(argv[0], argv.data());
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + round * 700));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    for (const std::string& name : FileNames(dir.Path() / "out")) {
        if (!name.starts_with(".tw")) {
            EXPECT_TRUE(ReadBytes(dir.Path() / "out" / name).ends_with("<p>Ende</p>\r\n")) << name;
        }
    }
    // What the killed runs left is cleared by the next one.
    ASSERT_EQ(RunProgram(arguments).status, 0);
    for (const std::string& name : FileNames(dir.Path() / "out"))
        EXPECT_FALSE(name.starts_with(".tw")) << name;
}

} // namespace
} // namespace tw::cli::test
