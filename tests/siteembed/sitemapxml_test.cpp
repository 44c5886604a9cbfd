#include "siteembed/sitemapxml.h"

#include "document/qzhtml.h"
#include "platform/error.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::AddItem;
using test::ReadBytes;
using test::TemporaryDirectory;

TEST(Sitemap, ListsTheMenusPagesOnceEscapedUnderTheBaseAddress)
{
    const TemporaryDirectory dir;
    dir.Write("site/index.html", "");
    dir.Write("site/\u00FCber & uns/index.php", "");
    dir.Write("site/doc.pdf", "");
    TqzHTML document;
    MenuNode& root = document.Tree().Root();
    AddItem(document, root, "Start", "index.html");
    AddItem(document, root, "Wieder", "./index.html#x");
    AddItem(document, root, "Uns", "%C3%BCber%20%26%20uns/");
    AddItem(document, root, "PDF", "doc.pdf");
    AddItem(document, root, "Fehlt", "fehlt.html");
    AddItem(document, root, "Extern", "https://example.org/");

    const std::string xml = SitemapXml(document, ReadMenuSite(dir / "site", dir / "site/menu.htm"),
                                       SitemapBase("https://Example.org/G\xC3\xA4rten <neu>"));

    EXPECT_NE(xml.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- treeweaver:sitemap"), std::string::npos);
    const std::string base = "https://Example.org/G%C3%A4rten%20%3Cneu%3E/";
    EXPECT_NE(xml.find("<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
                       "  <url><loc>" +
                       base + "index.html</loc></url>\n  <url><loc>" + base +
                       "%C3%BCber%20%26%20uns/index.php</loc></url>\n</urlset>\n"),
              std::string::npos)
        << xml;
    for (const char* wrong : {"ftp://example.org/", "https://", "https:///x", "example.org", "https://a.org/?q=1"})
        EXPECT_THROW(SitemapBase(wrong), Error) << wrong;
}

TEST(Sitemap, ReplacesOnlyItsOwnSitemapAndLeavesAnUnchangedOneAlone)
{
    const TemporaryDirectory dir;
    dir.Write("site/index.html", "");
    const MenuSite site = ReadMenuSite(dir / "site", "");
    const fs::path file = dir.Path() / "site" / "sitemap.xml";

    EXPECT_TRUE(WriteSitemap(site, "<!-- treeweaver:sitemap -->1"));
    const auto written = fs::last_write_time(file);
    EXPECT_FALSE(WriteSitemap(site, "<!-- treeweaver:sitemap -->1"));
    EXPECT_EQ(fs::last_write_time(file), written);
    EXPECT_TRUE(WriteSitemap(site, "<!-- treeweaver:sitemap -->2"));
    EXPECT_EQ(ReadBytes(file), "<!-- treeweaver:sitemap -->2");

    dir.Write("site/sitemap.xml", "<urlset>von Hand</urlset>");
    EXPECT_THROW(WriteSitemap(site, "<!-- treeweaver:sitemap -->3"), Error);
    EXPECT_EQ(ReadBytes(file), "<urlset>von Hand</urlset>");
    // Nor is it written through a link to a file elsewhere.
    fs::remove(file);
    dir.Write("fremd.xml", "<!-- treeweaver:sitemap -->fremd");
    fs::create_symlink(dir.Path() / "fremd.xml", file);
    EXPECT_THROW(WriteSitemap(site, "<!-- treeweaver:sitemap -->4"), Error);
    EXPECT_EQ(ReadBytes(dir.Path() / "fremd.xml"), "<!-- treeweaver:sitemap -->fremd");
}

} // namespace
} // namespace tw
