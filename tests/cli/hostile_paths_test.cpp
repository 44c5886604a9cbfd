// Command lines that attack the file paths: each must end in a clear German
// message (or the right result) without losing, hanging or writing elsewhere.
#include "cli_fixture.h"
#include "sample_project.h"

#include "document/qzhtml.h"
#include "projectfiles/projectfiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

namespace tw::cli::test {
namespace {

using tw::test::AddItem;
using tw::test::FileNames;

// A binary project with one item and one variable as given.
std::string WriteProject(const TemporaryDirectory& dir, const std::string& name, const std::string& caption,
                         const std::string& variableName = "Name")
{
    tw::test::RecordedMessages messages;
    TqzHTML document;
    AddItem(document, document.Tree().Root(), caption, "seite.htm");
    document.Variables().AddVariable(variableName, "Wert", false);
    document.SetFileSetting(fsTemplate, "set");
    const std::string path = dir / name;
    EXPECT_TRUE(SaveProject(document, path, pfBinaryV11, messages));
    return path;
}

// A template set "set" with the given template.ini and a header that shows
// one variable.
std::string WriteTemplates(const TemporaryDirectory& dir, const std::string& ini)
{
    dir.Write("T/set/template.ini", ini);
    dir.Write("T/set/Header.txt", "<h1>$Name$</h1>\r\n");
    dir.Write("T/set/top_MenuPoint.txt", "<a href=\"$Link$\">$Linkname$</a>\r\n");
    dir.Write("T/set/top_MPParent.txt", "<a href=\"$Link$\">$Linkname$ +</a>\r\n");
    dir.Write("T/set/top_MPOpen.txt", "<a href=\"$Link$\">$Linkname$ -</a>\r\n");
    return dir / "T";
}

const char* const TopLevelOnly = "[Level]\r\nLevel0=top\r\n";

TEST(CliHostilePaths, TextSaveRefusesWhatWouldComeBackAsAnotherProject)
{
    const TemporaryDirectory dir;
    for (const auto& [caption, variable] : {std::pair{"Zeile 1\nZeile 2", "Name"}, {"Start", "Na\r\nme"}}) {
        const std::string project = WriteProject(dir, "p.twb", caption, variable);
        const ProgramResult result = RunProgram({"convert", project, dir / "p.twf", "--format", "3"});
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find("enth\u00E4lt einen Zeilenumbruch, den das Textformat nicht speichern kann"),
                  std::string::npos)
            << result.err;
        EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"p.twb"});
    }
    // A target named like a side file would make the menu file that side file.
    const std::string project = WriteProject(dir, "p.twb", "Start");
    for (const char* target : {"c.tws", "c.TWV"}) {
        const ProgramResult result = RunProgram({"convert", project, dir / target, "--format", "3"});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, std::string(target) +
                                  ": Die Endungen .tws und .twv geh\u00F6ren zu den Begleitdateien des Textformats; "
                                  "bitte eine andere Endung w\u00E4hlen.\n");
    }
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"p.twb"});
    // "-" is no file name for any output.
    EXPECT_EQ(RunProgram({"convert", project, "-", "--format", "1"}).status, 2);
    EXPECT_EQ(RunProgram({"generate", project, "--output", "-"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists("-"));
}

TEST(CliHostilePaths, FifosAreRefusedInsteadOfWaitedFor)
{
    const TemporaryDirectory dir;
    const std::string fifo = dir / "p.twf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const ProgramResult show = RunProgram({"show", fifo});
    EXPECT_EQ(show.status, 1);
    EXPECT_EQ(show.err,
              "p.twf: Die Datei " + fifo + " kann nicht ge\u00F6ffnet werden. Sie ist keine gew\u00F6hnliche Datei.\n");

    const std::string project = WriteProject(dir, "q.twb", "Start");
    const std::string templates = WriteTemplates(dir, "");
    std::filesystem::remove(dir.Path() / "T/set/template.ini");
    ASSERT_EQ(mkfifo((dir / "T/set/template.ini").c_str(), 0600), 0);
    const ProgramResult generate =
        RunProgram({"generate", project, "--templates", templates, "--output", dir / "menu.htm"});
    EXPECT_EQ(generate.status, 1);
    EXPECT_NE(generate.err.find("template.ini kann nicht ge\u00F6ffnet werden. Sie ist keine gew\u00F6hnliche Datei."),
              std::string::npos)
        << generate.err;
    // The settings file of a text project that is a FIFO is not replaced.
    const std::string twf = dir / "r.twf";
    ASSERT_EQ(mkfifo((dir / "r.tws").c_str(), 0600), 0);
    EXPECT_EQ(RunProgram({"convert", project, twf, "--format", "3"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(twf));
}

TEST(CliHostilePaths, GeneratedFilesStayInTheOutputFolder)
{
    tw::test::RecordedMessages messages;
    const TemporaryDirectory dir;
    TqzHTML document;
    MenuNode& parent = AddItem(document, document.Tree().Root(), "Oben", "oben.htm");
    AddItem(document, parent, "Unten", "unten.htm");
    document.SetFileSetting(fsTemplate, "set");
    const std::string templates = WriteTemplates(dir, TopLevelOnly);
    std::filesystem::create_directories(dir.Path() / "out/a");

    for (const char* ext : {"d/../../x", "..\\x", ".."}) {
        document.SetFileSetting(fsFileExt, ext);
        ASSERT_TRUE(SaveProject(document, dir / "p.twb", pfBinaryV11, messages));
        const ProgramResult result =
            RunProgram({"generate", dir / "p.twb", "--templates", templates, "--output", dir / "out/a/menu.htm"});
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err.rfind("Die Dateiendung \"" + std::string(ext) + "\" ist ung\u00FCltig", 0), 0u)
            << result.err;
    }
    EXPECT_TRUE(FileNames(dir.Path() / "out/a").empty());
    EXPECT_EQ(FileNames(dir.Path() / "out"), std::vector<std::string>{"a"});

    document.SetFileSetting(fsFileExt, "");
    ASSERT_TRUE(SaveProject(document, dir / "p.twb", pfBinaryV11, messages));
    dir.Write("T/x_MenuPoint.txt", "ausserhalb\r\n");
    WriteTemplates(dir, "[Level]\r\nLevel0=../x\r\n");
    const ProgramResult level =
        RunProgram({"generate", dir / "p.twb", "--templates", templates, "--output", dir / "out/a/menu.htm"});
    EXPECT_EQ(level.status, 1);
    EXPECT_EQ(level.err, "Die Levelvorlage \"../x\" in template.ini ist ung\u00FCltig: Sie darf weder \\ noch / "
                         "noch : noch \"..\" enthalten.\n");

    // A colon inside a name is part of it: submenu files go beside the main
    // file and the links name them as written.
    WriteTemplates(dir, TopLevelOnly);
    const ProgramResult colon =
        RunProgram({"generate", dir / "p.twb", "--templates", templates, "--output", dir / "out/a/menu:v2.htm"});
    ASSERT_EQ(colon.status, 0) << colon.err;
    EXPECT_EQ(FileNames(dir.Path() / "out/a"), (std::vector<std::string>{"Child1.htm", "menu:v2.htm"}));
    EXPECT_NE(ReadBytes(dir.Path() / "out/a/Child1.htm").find("href=\"menu:v2.htm\""), std::string::npos);
}

TEST(CliHostilePaths, RunawayPlaceholdersStopWithAMessage)
{
    tw::test::RecordedMessages messages;
    const TemporaryDirectory dir;
    TqzHTML document;
    document.SetFileSetting(fsTemplate, "set");
    // Each value holds ten placeholders of the next: 10^9 copies at the end.
    for (int i = 0; i < 10; ++i) {
        std::string value;
        for (int copy = 0; copy < 10; ++copy)
            value += "$v" + std::to_string(i + 1) + "$";
        document.Variables().AddVariable(i == 0 ? "Name" : "v" + std::to_string(i), value, false);
    }
    ASSERT_TRUE(SaveProject(document, dir / "p.twb", pfBinaryV11, messages));
    const std::string templates = WriteTemplates(dir, TopLevelOnly);
    std::filesystem::create_directory(dir.Path() / "out");
    const ProgramResult result =
        RunProgram({"generate", dir / "p.twb", "--templates", templates, "--output", dir / "out/menu.htm"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Fehler beim Erstellen der Datei " + (dir / "out/menu.htm") +
                              ": Die Platzhalter im Baustein \u201EHeader.txt\u201C ergeben mehr als 64 MB Text; ein "
                              "Wert enth\u00E4lt wohl wiederholt weitere Platzhalter.\n");
    EXPECT_TRUE(FileNames(dir.Path() / "out").empty());
}

TEST(CliHostilePaths, ShowStaysProportionateAndTerminalSafe)
{
    tw::test::RecordedMessages messages;
    const TemporaryDirectory dir;
    TqzHTML document;
    MenuNode* node = &document.Tree().Root();
    for (int level = 0; level < 256; ++level)
        node = &AddItem(document, *node, "Ebene " + std::to_string(level));
    ASSERT_TRUE(SaveProject(document, dir / "tief.twb", pfBinaryV11, messages));
    const ProgramResult deep = RunProgram({"show", dir / "tief.twb"});
    ASSERT_EQ(deep.status, 0) << deep.err;
    // Indentation stops growing at 8 levels (16 blanks).
    for (const std::string& line : Lines(deep.out))
        ASSERT_LE(line.find_first_not_of(' '), 16u);
    EXPECT_EQ(nlohmann::ordered_json::parse(deep.out)["items"][0]["children"][0]["caption"], "Ebene 1");

    // A control character from a file name reaches the terminal escaped; a
    // long value in a message is shortened.
    const std::string escaped = dir / "a\x1B[31m.twb";
    const ProgramResult missing = RunProgram({"show", escaped});
    EXPECT_EQ(missing.err.find('\x1B'), std::string::npos);
    EXPECT_NE(missing.err.find("a\\x1B[31m.twb"), std::string::npos) << missing.err;
    dir.Write("c.twf", "TWF 2\r\n");
    dir.Write("c.twv", "");
    dir.Write("c.tws", "[Main]\r\nTextColor=" + std::string(65000, 'x') + "\r\n");
    const ProgramResult colour = RunProgram({"show", dir / "c.twf"});
    EXPECT_EQ(colour.err, "c.twf: '" + std::string(80, 'x') + "\u2026' is not a valid integer value\n");
}

TEST(CliHostilePaths, AFileSizeLimitIsReportedNotFatal)
{
    tw::test::RecordedMessages messages;
    const TemporaryDirectory dir;
    TqzHTML document;
    document.Variables().AddVariable("Gross", std::string(60000, 'v'), false);
    ASSERT_TRUE(SaveProject(document, dir / "gross.twb", pfBinaryV11, messages));
    // The program gets the limit and the signal's default action from here.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_DFL);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit reduced = previous;
    reduced.rlim_cur = 16384;
    setrlimit(RLIMIT_FSIZE, &reduced);
    const ProgramResult result = RunProgram({"convert", dir / "gross.twb", dir / "kopie.twb", "--format", "1"});
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "kopie.twb: Fehler beim Erstellen der Datei " + (dir / "kopie.twb") +
                              ": Die zul\u00E4ssige Dateigr\u00F6\u00DFe ist \u00FCberschritten.\n");
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"gross.twb"});
}

} // namespace
} // namespace tw::cli::test
