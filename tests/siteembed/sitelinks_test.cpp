#include "siteembed/sitelinks.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

using test::TemporaryDirectory;

TEST(SiteLinks, LinksBecomeSitePathsFromTheirFolder)
{
    EXPECT_EQ(SitePathOfLink("a/b.html?x=1#top", ""), "a/b.html");
    EXPECT_EQ(SitePathOfLink("../c/./d.htm", "a/b/"), "a/c/d.htm");
    EXPECT_EQ(SitePathOfLink("..\\x.html", "a"), "x.html");
    EXPECT_EQ(SitePathOfLink("/root.html", "a/b/"), "root.html");
    EXPECT_EQ(SitePathOfLink("sub/", ""), "sub/");
    EXPECT_EQ(SitePathOfLink("sub/..", ""), "");
    EXPECT_EQ(SitePathOfLink("%C3%BCber%20uns.html", ""), "\xFC"
                                                          "ber uns.html");
    EXPECT_EQ(SitePathOfLink("%FC.html", ""), "\xFC.html");
    for (const char* external :
         {"http://x.de/a.html", "mailto:a@b", "javascript:x()", "//host/a.html", "", "#top", "../out.html"})
        EXPECT_EQ(SitePathOfLink(external, ""), std::nullopt) << external;
}

TEST(SiteLinks, LinksFromPagesAtEveryDepth)
{
    EXPECT_EQ(LinkFromPage("index.html", "a/b.html", false), "a/b.html");
    EXPECT_EQ(LinkFromPage("a/b/c.html", "a/x.html", false), "../x.html");
    EXPECT_EQ(LinkFromPage("a/b/c/d.html", "index.html", false), "../../../index.html");
    EXPECT_EQ(LinkFromPage("a/b/c.html", "a/b/", false), "./");
    EXPECT_EQ(LinkFromPage("a/c.html", "a/b/", false), "b/");
    EXPECT_EQ(LinkFromPage("a/c.html",
                           "\xFC"
                           "ber uns & mehr.html",
                           true),
              "/%C3%BCber%20uns%20%26%20mehr.html");
}

TEST(SiteLinks, PagesAndFoldersResolveWithExactCase)
{
    TemporaryDirectory site;
    site.Write("index.html", "");
    site.Write("Sub/index.php", "");
    site.Write("Sub/Seite.htm", "");
    site.Write(".hidden/x.html", "");
    site.Write("bild.png", "");
    std::filesystem::create_directory_symlink(site.Path() / "Sub", site.Path() / "link");
    const SiteFiles files = ListSiteFiles(site / "");
    EXPECT_EQ(files.pages, (std::vector<std::string>{"Sub/Seite.htm", "Sub/index.php", "index.html"}));
    EXPECT_EQ(ResolvePage(files, ""), "index.html");
    EXPECT_EQ(ResolvePage(files, "Sub/"), "Sub/index.php");
    EXPECT_EQ(ResolvePage(files, "Sub"), "Sub/index.php");
    EXPECT_EQ(ResolvePage(files, "sub/seite.htm"), std::nullopt);
    EXPECT_EQ(ResolvePage(files, "link/Seite.htm"), std::nullopt);
    EXPECT_EQ(ResolvePage(files, "bild.png"), "bild.png");
}

} // namespace
} // namespace tw
