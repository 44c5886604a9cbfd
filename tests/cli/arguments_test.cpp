#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace tw::cli {
namespace {

TEST(CliArguments, AcceptsEveryVerbWithOptionsAnywhere)
{
    const Invocation show = ParseArguments({"show", "--templates", "/t", "a.twf"});
    EXPECT_EQ(show.verb, Verb::Show);
    EXPECT_EQ(show.project, "a.twf");
    EXPECT_EQ(show.templates, "/t");
    EXPECT_FALSE(show.output);

    const Invocation convert = ParseArguments({"convert", "a.twf", "--format=2", "b.twb"});
    EXPECT_EQ(convert.verb, Verb::Convert);
    EXPECT_EQ(convert.project, "a.twf");
    EXPECT_EQ(convert.out, "b.twb");
    EXPECT_EQ(convert.format, 2);

    const Invocation generate = ParseArguments({"generate", "a.twb", "--output", "m.htm", "--templates", "/t"});
    EXPECT_EQ(generate.verb, Verb::Generate);
    EXPECT_EQ(generate.output, "m.htm");
    EXPECT_EQ(generate.templates, "/t");
    EXPECT_FALSE(generate.verbose);
    EXPECT_TRUE(ParseArguments({"generate", "a.twb", "--verbose"}).verbose);
    EXPECT_THROW(ParseArguments({"generate", "a.twb", "--verbose=ja"}), UsageError);
    EXPECT_FALSE(generate.prune);
    EXPECT_TRUE(ParseArguments({"generate", "a.twb", "--prune"}).prune);
    EXPECT_THROW(ParseArguments({"generate", "a.twb", "--prune=ja"}), UsageError);

    const Invocation import = ParseArguments({"import", "site", "--output", "m.TWF", "--template", "Blau"});
    EXPECT_EQ(import.templateName, "Blau");
    EXPECT_EQ(import.verb, Verb::Import);
    EXPECT_EQ(import.source, "site");
    EXPECT_EQ(import.output, "m.TWF");
    EXPECT_EQ(import.format, 3);
    EXPECT_EQ(ParseArguments({"import", "sitemap.xml", "--output=m.twb"}).format, 1);
}

TEST(CliArguments, HelpWinsAnywhereBeforeTheEndOfOptions)
{
    EXPECT_TRUE(ParseArguments({"--help"}).help);
    EXPECT_TRUE(ParseArguments({"convert", "x", "--help"}).help);
    EXPECT_TRUE(ParseArguments({"nonsense", "-h"}).help);
    const Invocation afterEnd = ParseArguments({"show", "--", "--help"});
    EXPECT_FALSE(afterEnd.help);
    EXPECT_EQ(afterEnd.project, "--help");
}

TEST(CliArguments, PathsBecomeWindows1252)
{
    const Invocation invocation =
        ParseArguments({"generate", "Men\u00FC.twf", "--output", "gr\u00FC\u00DF\u20AC.htm", "--templates", "\u00C4"});
    EXPECT_EQ(invocation.project, "Men\xFC.twf");
    EXPECT_EQ(invocation.output, "gr\xFC\xDF\x80.htm");
    EXPECT_EQ(invocation.templates, "\xC4");
}

TEST(CliArguments, RefusesPathsThatWindows1252CannotHold)
{
    for (const char* path : {"Zh\u014Dng.twf", "\u4E2D.twf", "bad\xFF\xFE.twf"}) {
        try {
            ParseArguments({"show", path});
            ADD_FAILURE() << path;
        } catch (const UsageError& error) {
            EXPECT_NE(std::string(error.what()).find("Windows-1252"), std::string::npos);
        }
    }
    EXPECT_THROW(ParseArguments({"generate", "a.twf", "--output", "\u0150.htm"}), UsageError);
    EXPECT_THROW(ParseArguments({"convert", "a.twf", "\u0150.twb", "--format", "1"}), UsageError);
}

TEST(CliArguments, RejectsMalformedCommandLines)
{
    const std::vector<std::vector<std::string>> malformed = {
        {},
        {"list", "a.twf"},
        {"show"},
        {"show", "a.twf", "b.twf"},
        {"show", "a.twf", "--output", "m.htm"},
        {"show", "a.twf", "--format", "1"},
        {"convert", "a.twf", "b.twb"},
        {"convert", "a.twf", "--format", "1"},
        {"convert", "a.twf", "b.twb", "--format", "4"},
        {"convert", "a.twf", "b.twb", "--format", "01"},
        {"convert", "a.twf", "b.twb", "--format"},
        {"convert", "a.twf", "b.twb", "--format=1", "--format=2"},
        {"generate", "a.twf", "--output="},
        {"generate", "a.twf", "--templates", ""},
        {"generate", "a.twf", "--quiet"},
        {"show", "a.twf", "--verbose"},
        {"import", "site"},
        {"import", "site", "--output", "m.htm"},
        {"import", "site", "--output", "m"},
        {"import", "--output", "m.twb"},
        {"import", "site", "--format", "1", "--output", "m.twb"},
        {"generate", "a.twf", "--template", "Blau"},
    };
    for (const auto& arguments : malformed) {
        EXPECT_THROW(ParseArguments(arguments), UsageError) << ::testing::PrintToString(arguments);
    }
}

} // namespace
} // namespace tw::cli
