// Sites and sitemaps made to hurt: script in titles and names, addresses
// that run script, deep and long addresses, huge pages and odd bytes.
#include "siteimport/siteimport.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::RecordedMessages;
using test::TemporaryDirectory;

void AppendOutline(const std::vector<ImportedItem>& items, std::string& out)
{
    for (const ImportedItem& item : items) {
        out += item.caption + " | " + item.link + "\n";
        AppendOutline(item.children, out);
    }
}

std::string Outline(const ImportedSite& site)
{
    std::string out;
    AppendOutline(site.items, out);
    return out;
}

std::string Sitemap(const std::vector<std::string>& addresses)
{
    std::string xml = "<urlset>";
    for (const std::string& address : addresses)
        xml += "<url><loc>" + address + "</loc></url>";
    return xml + "</urlset>";
}

TEST(HostileImport, TitlesNamesAndDecodedAddressesStayText)
{
    const TemporaryDirectory dir;
    dir.Write("site/a.html", "<title>&lt;img src=x onerror=alert(1)&gt;</title>");
    dir.Write("site/b\"\t\\c.html", "");
    dir.Write("map.xml", Sitemap({"https://s.example/%3Cb%3Ex%26y%3C%2Fb%3E.html"}));
    RecordedMessages messages;

    EXPECT_EQ(Outline(ReadSite(dir / "site", "", messages)), "&lt;img src=x onerror=alert(1)> | a.html\n"
                                                             "b\"\t\\c | b%22%09%5Cc.html\n");
    EXPECT_EQ(Outline(ReadSite(dir / "map.xml", "", messages)),
              "&lt;b>x&amp;y&lt;/b> | https://s.example/%3Cb%3Ex%26y%3C%2Fb%3E.html\n");
    EXPECT_TRUE(messages.texts.empty()) << testing::PrintToString(messages.texts);
}

TEST(HostileImport, AddressesThatRunScriptOrOpenLocalFilesAreLeftOutAndNamed)
{
    const TemporaryDirectory dir;
    dir.Write("map.xml", Sitemap({"https://s.example/a.html", "javascript:alert(1)//x.html",
                                  "data:text/html,&lt;script&gt;x&lt;/script&gt;", "FILE:///etc/passwd",
                                  "https://s.example/\"onmouseover=\"x.html"}));
    RecordedMessages messages;

    EXPECT_EQ(Outline(ReadSite(dir / "map.xml", "", messages)), "\"onmouseover=\"x | "
                                                                "https://s.example/%22onmouseover=%22x.html\n"
                                                                "a | https://s.example/a.html\n");
    EXPECT_EQ(messages.texts, std::vector<std::string>{"3 Adressen sind keine Webadressen (http, https) und wurden "
                                                       "\xFC"
                                                       "bergangen: javascript:alert(1)//x.html, "
                                                       "data:text/html,<script>x</script>, FILE:///etc/passwd"});
}

TEST(HostileImport, TextBeyondWindows1252IsKeptAsReferencesAndEscapes)
{
    const TemporaryDirectory dir;
    dir.Write("site/\u65E5\u672C.html", "<meta charset=utf-8><title>\u65E5\u672C\u8A9E</title>");
    dir.Write("map.xml", Sitemap({"https://s.example/\u65E5\u672C/\u00FC.html"}));
    RecordedMessages messages;

    EXPECT_EQ(Outline(ReadSite(dir / "site", "", messages)), "&#26085;&#26412;&#35486; | %E6%97%A5%E6%9C%AC.html\n");
    EXPECT_EQ(Outline(ReadSite(dir / "map.xml", "", messages)),
              "&#26085;&#26412; | \n\xFC | https://s.example/%E6%97%A5%E6%9C%AC/%C3%BC.html\n");
    EXPECT_TRUE(messages.texts.empty()) << testing::PrintToString(messages.texts);
}

TEST(HostileImport, DeepAndLongAddressesAreLeftOutAndTold)
{
    const TemporaryDirectory dir;
    std::string deep = "https://s.example";
    for (int i = 0; i < 40000; ++i)
        deep += "/a";
    std::string fine = "https://s.example";
    for (int i = 0; i < 32; ++i)
        fine += "/b";
    dir.Write("map.xml", Sitemap({deep, fine, "https://s.example/" + std::string(3000, 'l')}));
    RecordedMessages messages;

    const ImportedSite site = ReadSite(dir / "map.xml", "", messages);

    ASSERT_EQ(site.items.size(), 1u);
    EXPECT_EQ(site.items[0].caption, "b");
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_TRUE(messages.texts[0].starts_with("1 Adresse ist l\xE4nger als 2048 Zeichen und wurde \xFC"
                                              "bergangen: https://s.example/lll"))
        << messages.texts[0];
    EXPECT_TRUE(messages.texts[1].starts_with("1 Adresse hat mehr als 32 Ebenen und wurde \xFC"
                                              "bergangen: https://s.example/a/a/"))
        << messages.texts[1];
}

TEST(HostileImport, LongTitlesAreCutAndNamedAndTheImportGoesOn)
{
    const TemporaryDirectory dir;
    dir.Write("site/lang.html", "<title>" + std::string(100000, 'x') + "</title>");
    dir.Write("site/kurz.html", "<title>Kurz</title>");
    RecordedMessages messages;

    const ImportedSite site = ReadSite(dir / "site", "", messages);

    ASSERT_EQ(site.items.size(), 2u);
    EXPECT_EQ(site.items[0].caption, "Kurz");
    std::string cut(250, 'x');
    cut += '\x85'; // the ellipsis that marks the cut
    EXPECT_EQ(site.items[1].caption, cut);
    EXPECT_EQ(messages.texts, std::vector<std::string>{"1 Seitentitel war l\xE4nger als 250 Zeichen und wurde "
                                                       "gek\xFCrzt: lang.html"});
}

// A page is read only as far as its head goes: a page of 4 GB (sparse, so
// it takes no room) gives its title without being read whole.
TEST(HostileImport, HugePagesAreReadOnlyAsFarAsTheirHead)
{
    const TemporaryDirectory dir;
    const fs::path page = dir.Write("site/riesig.html", "<title>Riesig</title>");
    fs::resize_file(page, std::uintmax_t{4} << 30);
    RecordedMessages messages;

    const ImportedSite site = ReadSite(dir / "site", "", messages);

    ASSERT_EQ(site.items.size(), 1u);
    EXPECT_EQ(site.items[0].caption, "Riesig");
}

// Bytes the code page leaves undefined are kept like any other, and the
// XML library prints nothing of its own.
TEST(HostileImport, UndefinedWindows1252BytesAreKeptAndTheLibraryStaysQuiet)
{
    const TemporaryDirectory dir;
    dir.Write("site/a.html", "<title>vor \x81 nach \x8D \xE4</title>");
    dir.Write("site/b.html", "<meta charset=windows-1252><title>\x90x\x9D</title>");
    dir.Write("map.xml", "<?xml version=\"1.0\" encoding=\"windows-1252\"?><urlset><url><loc>\x81</loc></url>");
    RecordedMessages messages;

    testing::internal::CaptureStderr();
    const ImportedSite site = ReadSite(dir / "site", "", messages);
    // Only the library's silence is asked of the broken sitemap.
    static_cast<void>(ReadSite(dir / "map.xml", "", messages));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    ASSERT_EQ(site.items.size(), 2u);
    EXPECT_EQ(site.items[0].caption, "vor \x81 nach \x8D \xE4");
    EXPECT_EQ(site.items[1].caption, "\x90x\x9D");
}

} // namespace
} // namespace tw
