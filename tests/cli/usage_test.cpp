#include "cli_fixture.h"

#include "cli/arguments.h"
#include "cli/message_lines.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tw::cli::test {
namespace {

TEST(CliUsage, HelpGoesToStdoutAndSucceeds)
{
    const ProgramResult result = RunProgram({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, UsageText);
    EXPECT_EQ(result.err, "");
}

TEST(CliUsage, VersionIsTheProjectVersionAlsoAsMinusV)
{
    for (const char* option : {"--version", "-v"}) {
        const ProgramResult result = RunProgram({option});
        EXPECT_EQ(result.status, 0) << option;
        EXPECT_EQ(result.out, "treeweaver-cli " TW_VERSION_TEXT "\n") << option;
    }
}

TEST(CliUsage, UsageErrorsExitWithTwoAndPrintTheUsageOnStderr)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"show"}, {"convert", "a.twf", "b.twb"}, {"zeigen", "a.twf"}}) {
        const ProgramResult result = RunProgram(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        const auto lines = Lines(result.err);
        ASSERT_GE(lines.size(), 2U);
        EXPECT_EQ(result.err.substr(result.err.find('\n') + 1), UsageText);
    }
}

TEST(CliUsage, PathOutsideWindows1252IsAUsageErrorNotAMangledFile)
{
    const TemporaryDirectory dir;
    const auto project = dir.Write("Men\u00FC.twf", "TWF 2\r\n");
    const auto target = dir.Path() / "\u0141\u00F3d\u017A.twf";

    const ProgramResult result = RunProgram({"convert", project.string(), target.string(), "--format", "3"});

    EXPECT_EQ(result.status, 2);
    EXPECT_NE(Lines(result.err).at(0).find("Windows-1252"), std::string::npos) << result.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1) << "nothing was written";
}

TEST(CliMessageLines, EveryMessageIsOneUtf8Line)
{
    std::ostringstream stream;
    MessageLines lines(stream);
    lines.ShowMessage("Men\xFC: erste\r\nzweite\rdritte\nvierte");
    lines.ShowMessage("");
    EXPECT_EQ(stream.str(), "Men\u00FC: erste zweite dritte vierte\n\n");
}

} // namespace
} // namespace tw::cli::test
