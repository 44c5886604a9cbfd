#include "cli_fixture.h"

#include <gtest/gtest.h>

namespace tw::cli::test {
namespace {

namespace fs = std::filesystem;

TEST(CliCheckSite, StatusTellsACleanSiteFaultsAndUsageAndTheSitemapIsWritten)
{
    const TemporaryDirectory dir;
    dir.Write("site/index.html", "<title>Start</title>");
    dir.Write("site/a/index.php", "<title>A &amp; B</title>");
    dir.Write("site/a/b.html", "<title>B</title>");
    const std::string site = (dir.Path() / "site").string();
    const std::string project = (dir.Path() / "p.twb").string();
    ASSERT_EQ(RunProgram({"import", site, "--output", project}).status, 0);

    const ProgramResult clean = RunProgram({"checksite", project, site, "--sitemap", "https://example.org"});
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_EQ(Lines(clean.out), (std::vector<std::string>{"Keine Fehler gefunden.", "sitemap.xml geschrieben."}));
    EXPECT_NE(ReadBytes(dir.Path() / "site/sitemap.xml").find("<loc>https://example.org/a/b.html</loc>"),
              std::string::npos);

    dir.Write("site/a/c.shtml", "");
    const ProgramResult faults = RunProgram({"checksite", project, site});
    EXPECT_EQ(faults.status, 1);
    EXPECT_EQ(Lines(faults.out), (std::vector<std::string>{"Seite \"a/c.shtml\": Kein Men\u00FCpunkt verweist auf sie.",
                                                           "Fehler gefunden: 1"}));

    // Without a main file in the project the site's folder must be named.
    const ProgramResult noFolder = RunProgram({"checksite", project});
    EXPECT_EQ(noFolder.status, 2);
    EXPECT_EQ(Lines(noFolder.err), (std::vector<std::string>{"Das Projekt nennt keine Hauptdatei: bitte den Ordner "
                                                             "der Website angeben."}));
    EXPECT_EQ(RunProgram({"checksite", project, site, "--sitemap", "example.org"}).status, 2);
    EXPECT_EQ(RunProgram({"checksite", project, site, "zuviel"}).status, 2);
}

} // namespace
} // namespace tw::cli::test
