#include "cli_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace tw::cli::test {
namespace {

namespace fs = std::filesystem;

const std::string Blocks = "<!-- treeweaver:head --><!-- /treeweaver:head -->\n"
                           "<!-- treeweaver:menu --><!-- /treeweaver:menu -->\n";

TEST(CliEmbed, WritesEveryPageWithMarkersAndTellsRefusedPagesAndExitStatuses)
{
    const TemporaryDirectory dir;
    ::setenv("XDG_STATE_HOME", (dir.Path() / "state").c_str(), 1);
    dir.Write("site/index.html", "<title>Start</title>\n" + Blocks);
    dir.Write("site/verein/index.html", "<title>\xC3\x9C"
                                        "ber uns</title>\r\n" +
                                            Blocks);
    dir.Write("site/verein/team.html", "<title>Team</title>\n");
    dir.Write("site/kaputt.html", "<title>Kaputt</title>\n<!-- treeweaver:menu -->\n");
    const std::string project = (dir.Path() / "site.twb").string();
    const std::string site = (dir.Path() / "site").string();
    ASSERT_EQ(RunProgram({"import", site, "--output", project, "--template", "Seitenleiste"}).status, 0);

    const ProgramResult dry = RunProgram({"embed", project, site, "--dry-run"});
    EXPECT_EQ(dry.status, 1);
    EXPECT_NE(dry.out.find("--- a/verein/index.html\n+++ b/verein/index.html\n@@ -1,3 +1,"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir.Path() / "site/index.html"), "<title>Start</title>\n" + Blocks);

    const ProgramResult run = RunProgram({"embed", project, site});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Lines(run.err),
              std::vector<std::string>{site + "/kaputt.html: Zeile 2: Block treeweaver:menu ohne Ende"});
    EXPECT_NE(run.out.find("Ohne Markierungen: " + site + "/verein/team.html"), std::string::npos);
    const std::string written = ReadBytes(dir.Path() / "site/verein/index.html");
    EXPECT_NE(written.find("href=\"../treeweaver-menu.css\""), std::string::npos);
    EXPECT_NE(written.find("aria-current=\"page\"><span class=\"tw-e-initiale\">&#220;</span>ber uns"),
              std::string::npos);

    dir.Write("site/kaputt.html", "<title>Kaputt</title>\n");
    EXPECT_EQ(RunProgram({"embed", project, site, "--check"}).status, 0);
    dir.Write("site/index.html", "<title>Start</title>\n" + Blocks);
    EXPECT_EQ(RunProgram({"embed", project, site, "--check"}).status, 1);
    // The page changed since the run stays; the others get their old bytes.
    EXPECT_EQ(RunProgram({"embed", project, site, "--undo"}).status, 1);
    EXPECT_EQ(ReadBytes(dir.Path() / "site/verein/index.html"), "<title>\xC3\x9C"
                                                                "ber uns</title>\r\n" +
                                                                    Blocks);

    EXPECT_EQ(RunProgram({"embed", project, (dir.Path() / "fehlt").string()}).status, 2);
    EXPECT_EQ(RunProgram({"embed", project, site, "weiter"}).status, 2);
    EXPECT_EQ(RunProgram({"embed", project, site, "--undo", "--check"}).status, 2);
    ::unsetenv("XDG_STATE_HOME");
}

TEST(CliEmbed, WritesTheSitemapUnlessOnlyShowingOrCheckingAndNeverAForeignOne)
{
    const TemporaryDirectory dir;
    ::setenv("XDG_STATE_HOME", (dir.Path() / "state").c_str(), 1);
    dir.Write("site/index.html", "<title>Start</title>\n" + Blocks);
    dir.Write("site/a b.html", "<title>A</title>\n" + Blocks);
    const std::string project = (dir.Path() / "site.twb").string();
    const std::string site = (dir.Path() / "site").string();
    const fs::path sitemap = dir.Path() / "site/sitemap.xml";
    ASSERT_EQ(RunProgram({"import", site, "--output", project, "--template", "Seitenleiste"}).status, 0);

    const ProgramResult dry = RunProgram({"embed", project, site, "--dry-run", "--sitemap", "https://example.org"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("+++ b/sitemap.xml\n"), std::string::npos);
    EXPECT_NE(dry.out.find("+  <url><loc>https://example.org/a%20b.html</loc></url>"), std::string::npos);
    EXPECT_FALSE(fs::exists(sitemap));

    const ProgramResult run = RunProgram({"embed", project, site, "--sitemap", "https://example.org/"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("sitemap.xml geschrieben."), std::string::npos);
    EXPECT_NE(ReadBytes(sitemap).find("<loc>https://example.org/index.html</loc>"), std::string::npos);
    EXPECT_EQ(RunProgram({"embed", project, site, "--check", "--sitemap", "https://example.org/"}).status, 0);
    // Only the sitemap is missing now.
    fs::remove(sitemap);
    EXPECT_EQ(RunProgram({"embed", project, site, "--check", "--sitemap", "https://example.org/"}).status, 1);
    EXPECT_FALSE(fs::exists(sitemap));

    dir.Write("site/sitemap.xml", "<urlset/>");
    const ProgramResult foreign = RunProgram({"embed", project, site, "--dry-run", "--sitemap", "https://example.org"});
    EXPECT_EQ(foreign.status, 1);
    EXPECT_NE(foreign.err.find("nicht geschrieben"), std::string::npos);
    EXPECT_EQ(RunProgram({"embed", project, site, "--sitemap", "https://example.org"}).status, 1);
    EXPECT_EQ(ReadBytes(sitemap), "<urlset/>");
    EXPECT_EQ(RunProgram({"embed", project, site, "--sitemap", "example.org"}).status, 2);
    ::unsetenv("XDG_STATE_HOME");
}

} // namespace
} // namespace tw::cli::test
