#include "cli_fixture.h"
#include "sample_project.h"

#include <gtest/gtest.h>

namespace tw::cli::test {
namespace {

TEST(CliGenerate, WritesMainAndSubmenuFilesWithTemplatesAndOutputGiven)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir, "Blau");
    const auto templates = WriteSampleTemplates(dir);
    const auto mainFile = dir.Path() / "Ausgabe" / "men\u00FC.htm";
    std::filesystem::create_directories(mainFile.parent_path());

    const ProgramResult result =
        RunProgram({"generate", project.string(), "--templates", templates.string(), "--output", mainFile.string()});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadBytes(mainFile), "<!-- Sch\xF6n -->\r\n"
                                   "<ul>\r\n"
                                   "<li><a href=\"index.htm\">Start</a></li>\r\n"
                                   "<li><a href=\"Child2.html\">Men\xFC +</a></li>\r\n"
                                   "</ul><!-- Hallo Welt -->\r\n");
    EXPECT_EQ(ReadBytes(mainFile.parent_path() / "Child2.html"), "<!-- Sch\xF6n -->\r\n"
                                                                 "<ul>\r\n"
                                                                 "<li><a href=\"index.htm\">Start</a></li>\r\n"
                                                                 "<li><a href=\"men\xFC.htm\">Men\xFC -</a><ul>\r\n"
                                                                 "<li><a href=\"gruss.htm\">Gr\xFC\xDF"
                                                                 "e</a></li>\r\n"
                                                                 "</ul></li>\r\n"
                                                                 "</ul><!-- Hallo Welt -->\r\n");
}

TEST(CliGenerate, LeavesFilesThatHoldTheirBytesAloneAndCountsThemWithVerbose)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir, "Blau");
    const auto templates = WriteSampleTemplates(dir);
    const auto mainFile = dir.Path() / "index.htm";
    const auto submenu = dir.Path() / "Child2.html";
    const std::vector<std::string> arguments{"generate", project.string(),  "--templates", templates.string(),
                                             "--output", mainFile.string(), "--verbose"};

    const ProgramResult first = RunProgram(arguments);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "Dateien geschrieben: 2, unver\u00E4ndert: 0\n");
    std::filesystem::last_write_time(mainFile, std::filesystem::file_time_type{});
    const std::string submenuBytes = ReadBytes(submenu);
    dir.Write("Child2.html", "alt");

    const ProgramResult second = RunProgram(arguments);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.err, "Dateien geschrieben: 1, unver\u00E4ndert: 1\n");
    EXPECT_EQ(std::filesystem::last_write_time(mainFile), std::filesystem::file_time_type{});
    EXPECT_EQ(ReadBytes(submenu), submenuBytes);
}

TEST(CliGenerate, NamesStaleSubmenuFilesInOneLineOrDeletesThemWithPrune)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir, "Blau");
    const auto templates = WriteSampleTemplates(dir);
    const auto out = dir.Path() / "Ausgabe";
    std::vector<std::string> arguments{"generate",         project.string(), "--templates",
                                       templates.string(), "--output",       (out / "index.htm").string()};
    for (const char* name : {"Child3.html", "Child2,1.html", "child3.html", "Child3.htm", "Child03.html"})
        dir.Write("Ausgabe/" + std::string(name), "alt");

    const ProgramResult warned = RunProgram(arguments);
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.err, "Warnung: Veraltete Untermen\u00FC-Dateien im Ordner der Hauptdatei (--prune l\u00F6scht "
                          "sie): Child2,1.html Child3.html\n");
    EXPECT_TRUE(std::filesystem::exists(out / "Child3.html"));

    arguments.push_back("--prune");
    const ProgramResult pruned = RunProgram(arguments);
    EXPECT_EQ(pruned.status, 0);
    EXPECT_EQ(pruned.err, "Gel\u00F6scht: " + (out / "Child2,1.html").string() +
                              "\nGel\u00F6scht: " + (out / "Child3.html").string() + "\n");
    EXPECT_EQ(tw::test::FileNames(out),
              (std::vector<std::string>{"Child03.html", "Child2.html", "Child3.htm", "child3.html", "index.htm"}));
    EXPECT_EQ(RunProgram(arguments).err, "");
}

// Another menu in the same folder names its submenu files alike: what its
// pages link to is its own and stays.
TEST(CliGenerate, PruneLeavesTheSubmenuFilesOfAnotherMenuInTheFolder)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir, "Blau");
    const auto templates = WriteSampleTemplates(dir);
    dir.Write("andere.htm", "<a href=\"Child3.html\">Obst</a>");
    dir.Write("Child3.html", "<a href=\"andere.htm\">Obst</a><a href=\"Child3%2C1.html\">Birnen</a>");
    dir.Write("Child3,1.html", "<a href=\"andere.htm\">Birnen</a>");
    dir.Write("Child4.html", "alt");

    const ProgramResult pruned = RunProgram({"generate", project.string(), "--templates", templates.string(),
                                             "--output", (dir.Path() / "index.htm").string(), "--prune"});
    EXPECT_EQ(pruned.status, 0);
    EXPECT_EQ(pruned.err, "Gel\u00F6scht: " + (dir.Path() / "Child4.html").string() + "\n");
    for (const char* kept : {"Child3.html", "Child3,1.html"})
        EXPECT_TRUE(std::filesystem::exists(dir.Path() / kept)) << kept;
}

TEST(CliGenerate, UsesTheProjectsFilenameWithoutOutput)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir);
    const auto templates = WriteSampleTemplates(dir);
    const auto mainFile = dir.Path() / "index.htm";
    dir.Write("Men\u00FC.tws", "[Main]\r\nTemplate=Blau\r\nFilename=" + mainFile.string() + "\r\n");

    const ProgramResult result = RunProgram({"generate", project.string(), "--templates", templates.string()});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(std::filesystem::exists(mainFile));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "Child2.htm"));
}

TEST(CliGenerate, ProblemsAreTheWindowsMessagesOnStderr)
{
    const TemporaryDirectory dir;
    const auto project = WriteSampleProject(dir);
    const auto templates = WriteSampleTemplates(dir);

    const ProgramResult withoutFile = RunProgram({"generate", project.string(), "--templates", templates.string()});
    EXPECT_EQ(withoutFile.status, 1);
    EXPECT_EQ(withoutFile.err, "Kein Dateiname zum Speichern angegeben\n");

    const auto mainFile = dir.Path() / "menu.htm";
    const ProgramResult withoutTemplate = RunProgram(
        {"generate", project.string(), "--templates", (dir.Path() / "leer").string(), "--output", mainFile.string()});
    EXPECT_EQ(withoutTemplate.status, 1);
    EXPECT_EQ(withoutTemplate.err, "Die Men\u00FCvorlage ist nicht vorhanden.\n");
    EXPECT_FALSE(std::filesystem::exists(mainFile));
}

} // namespace
} // namespace tw::cli::test
