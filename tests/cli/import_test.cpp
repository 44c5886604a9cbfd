#include "cli_fixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tw::cli::test {
namespace {

namespace fs = std::filesystem;

TEST(CliImport, WritesTheSitesMenuAsAProjectThatGeneratesAndCountsItsItemsWithVerbose)
{
    const TemporaryDirectory dir;
    const fs::path project = dir.Path() / "garten.twb";

    const ProgramResult result =
        RunProgram({"import", TW_EXAMPLE_SITE, "--output", project.string(), "--template", "aufklappend", "--verbose"});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "Men\u00FCpunkte importiert: 16\n");
    const ProgramResult shown = RunProgram({"show", project.string()});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const auto items = nlohmann::json::parse(shown.out).at("items");
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].at("caption"), "Willkommen in der G\u00E4rtnerei Lindenhof");
    EXPECT_EQ(items[0].at("link"), "index.html");
    EXPECT_EQ(items[4].at("children")[0].at("children")[0].at("link"), "pflanzen/obstgehoelze/aepfel.html");
    EXPECT_EQ(nlohmann::json::parse(shown.out).at("settings").at("Template"), "Aufklappend");

    const fs::path site = dir.Path() / "site";
    fs::copy(TW_EXAMPLE_SITE, site, fs::copy_options::recursive);
    const ProgramResult generated =
        RunProgram({"generate", project.string(), "--output", (site / "menu.htm").string()});
    EXPECT_EQ(generated.status, 0) << generated.err;
    EXPECT_TRUE(fs::exists(site / "Child5.htm"));
}

// Problems go to stderr; the status tells whether a project was written.
TEST(CliImport, StatusIsZeroWhenTheProjectWasWrittenAndOneWhenNothingWas)
{
    const TemporaryDirectory dir;
    dir.Write("site/a/b.html", "<title>B</title>");
    fs::create_symlink("fehlt.html", dir.Path() / "site" / "kaputt.html");
    const fs::path text = dir.Path() / "tief.twf";

    // The page that cannot be read is told, the rest is imported.
    const ProgramResult skipped = RunProgram({"import", (dir.Path() / "site").string(), "--output", text.string()});
    EXPECT_EQ(skipped.status, 0);
    EXPECT_EQ(Lines(skipped.err),
              (std::vector<std::string>{"1 Seite konnte nicht gelesen werden und wurde \u00FCbergangen: kaputt.html"}));
    EXPECT_TRUE(fs::exists(text));

    // The text format would drop a third level, so nothing is written.
    dir.Write("site/a/c/d.html", "<title>D</title>");
    fs::remove(text);
    const ProgramResult deep = RunProgram({"import", (dir.Path() / "site").string(), "--output", text.string()});
    EXPECT_EQ(deep.status, 1);
    EXPECT_EQ(Lines(deep.err).back(), "Das importierte Men\u00FC hat mehr als zwei Ebenen, eine .twf-Datei h\u00E4lt "
                                      "nur zwei: bitte als .twb speichern.");
    EXPECT_FALSE(fs::exists(text));

    const ProgramResult unknown =
        RunProgram({"import", (dir.Path() / "site").string(), "--output", text.string(), "--template", "Gibtsnicht"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "Die Vorlage \"Gibtsnicht\" gibt es nicht.\n");
    EXPECT_FALSE(fs::exists(text));
}

} // namespace
} // namespace tw::cli::test
