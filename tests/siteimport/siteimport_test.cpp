#include "siteimport/siteimport.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "platform/paths.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RecordedMessages;
using test::TemporaryDirectory;

// One line per item, "caption | link", indented by level.
void AppendOutline(const std::vector<ImportedItem>& items, int level, std::string& out)
{
    for (const ImportedItem& item : items) {
        out += std::string(2 * level, ' ') + item.caption + " | " + item.link + "\n";
        AppendOutline(item.children, level + 1, out);
    }
}

std::string Outline(const ImportedSite& site)
{
    std::string out;
    AppendOutline(site.items, 0, out);
    return out;
}

// A copy of the example site in a scratch folder, so a test can add to it.
fs::path CopyExampleSite(const TemporaryDirectory& dir)
{
    const fs::path site = dir.Path() / "site";
    fs::copy(TW_EXAMPLE_SITE, site, fs::copy_options::recursive);
    return site;
}

std::string Cp1252(const fs::path& path)
{
    return FromFsPath(path);
}

TEST(FolderImport, GivesTheSitesTreeInNaturalOrderWithTitlesAndSkipsWhatItCannotRead)
{
    const TemporaryDirectory dir;
    const fs::path site = CopyExampleSite(dir);
    // A page that cannot be read, even by root, and a link back up that
    // would lead round in a circle.
    fs::create_symlink("fehlt.html", site / "kaputt.html");
    fs::create_directory_symlink("..", site / "pflanzen" / "zurueck");
    // Submenu files of a menu generated into the site earlier are no pages.
    fs::copy_file(site / "impressum.html", site / "Child2,1.html");
    fs::copy_file(site / "impressum.html", site / "service" / "Child1.htm");
    RecordedMessages messages;

    const ImportedSite imported = ReadSite(Cp1252(site), "", messages);

    EXPECT_EQ(Outline(imported), "Willkommen in der G\xE4rtnerei Lindenhof | index.html\n"
                                 "impressum | impressum.html\n"
                                 "kataloge | \n"
                                 "  katalog 1 | kataloge/katalog%201.html\n"
                                 "  Katalog 2 | kataloge/Katalog%202.html\n"
                                 "  Katalog 10 | kataloge/Katalog%2010.html\n"
                                 "Kontakt & Anfahrt \x96 \xD6"
                                 "ffnungszeiten | kontakt.htm\n"
                                 "Pflanzen | pflanzen/index.html\n"
                                 "  obstgehoelze | \n"
                                 "    \xC4pfel | pflanzen/obstgehoelze/aepfel.html\n"
                                 "    Kirschen | pflanzen/obstgehoelze/kirschen.html\n"
                                 "  Rosen \x96 Duft und Farbe | pflanzen/rosen.html\n"
                                 "  Stauden f\xFCr \x84Schatteng\xE4rten\x93 | pflanzen/stauden.html\n"
                                 "Service | service/index.htm\n"
                                 "  Gartenplanung | service/gartenplanung.html\n"
                                 "  Lieferung | service/lieferung.html\n");
    EXPECT_EQ(messages.texts, std::vector<std::string>{"1 Seite konnte nicht gelesen werden und wurde \xFC"
                                                       "bergangen: kaputt.html"});
}

TEST(FolderImport, LinksLeadFromTheOutputFilesFolderAndEscapeWhatWouldEndAPath)
{
    const TemporaryDirectory dir;
    dir.Write("site/Frage?#1%.html", "<title>Frage</title>");
    dir.Write("site/\u4E2D \u00FC.html", "");
    dir.Write("site/a/index.htm", "<title>alt</title>");
    dir.Write("site/a/index.html", "<title>A</title>");
    RecordedMessages messages;

    const ImportedSite imported = ReadSite(dir / "site", dir / "menu/index.htm", messages);

    // A name beyond Windows-1252 is read as the file system has it.
    EXPECT_EQ(Outline(imported), "&#20013; \xFC | ../site/%E4%B8%AD%20%C3%BC.html\n"
                                 "A | ../site/a/index.html\n"
                                 "  alt | ../site/a/index.htm\n"
                                 "Frage | ../site/Frage%3F%231%25.html\n");
    EXPECT_TRUE(messages.texts.empty()) << testing::PrintToString(messages.texts);
}

TEST(FolderImport, TellsWhenThereIsNothingToImport)
{
    const TemporaryDirectory dir;
    dir.Write("leer/bild.png", "");
    dir.Write("leer/.versteckt.html", "<title>x</title>");
    RecordedMessages messages;

    EXPECT_TRUE(ReadSite(dir / "leer", "", messages).items.empty());
    EXPECT_TRUE(ReadSite(dir / "fehlt", "", messages).items.empty());

    EXPECT_EQ(messages.texts, (std::vector<std::string>{
                                  "Im Ordner " + (dir / "leer") + " wurden keine Seiten gefunden.",
                                  "Der Ordner oder die Datei " + (dir / "fehlt") + " wurde nicht gefunden.",
                              }));
}

TEST(SitemapImport, BuildsTheTreeFromTheAddressPaths)
{
    RecordedMessages messages;

    const ImportedSite imported = ReadSite(std::string(TW_EXAMPLE_SITE) + "/sitemap.xml", "", messages);

    const std::string host = "https://www.gaertnerei-lindenhof.example";
    EXPECT_EQ(Outline(imported),
              "www.gaertnerei-lindenhof.example | " + host + "/\n" + "impressum | " + host + "/impressum.html\n" +
                  "kataloge | \n" + "  Katalog 2 | " + host + "/kataloge/Katalog%202.html\n" + "  Katalog 10 | " +
                  host + "/kataloge/Katalog%2010.html\n" + "kontakt | " + host + "/kontakt.htm\n" + "pflanzen | " +
                  host + "/pflanzen/\n" + "  obstgehoelze | \n" + "    \xE4pfel | " + host +
                  "/pflanzen/obstgehoelze/%C3%A4pfel.html\n" + "    kirschen | " + host +
                  "/pflanzen/obstgehoelze/kirschen.html\n" + "  rosen | " + host + "/pflanzen/rosen.html\n" +
                  "  stauden | " + host + "/pflanzen/stauden.html\n" + "service | " + host + "/service/index.htm\n" +
                  "  gartenplanung | " + host + "/service/gartenplanung.html\n" + "  lieferung | " + host +
                  "/service/lieferung.html\n" + "ueber uns | \n" + "  unser team | " + host +
                  "/ueber_uns/unser-team.html\n");
    EXPECT_TRUE(messages.texts.empty());
}

TEST(SitemapImport, RefusesWhatIsNoSitemapAndReadsNoEntities)
{
    const TemporaryDirectory dir;
    dir.Write("kaputt.xml", "<urlset><url><loc>https://a.example/</loc></url>");
    dir.Write("index.xml", "<sitemapindex><sitemap><loc>https://a.example/s.xml</loc></sitemap></sitemapindex>");
    dir.Write("geheim.txt", "https://geheim.example/");
    dir.Write("entity.xml", "<!DOCTYPE urlset [<!ENTITY x SYSTEM \"" + (dir / "geheim.txt") +
                                "\">]><urlset><url><loc>&x;</loc></url></urlset>");
    RecordedMessages messages;

    for (const char* name : {"kaputt.xml", "index.xml", "entity.xml"})
        EXPECT_TRUE(ReadSite(dir / name, "", messages).items.empty()) << name;

    const std::string cannot = " konnte nicht gelesen werden: ";
    EXPECT_EQ(messages.texts,
              (std::vector<std::string>{
                  "Die Sitemap " + (dir / "kaputt.xml") + cannot + "Sie ist keine g\xFCltige XML-Datei.",
                  "Die Sitemap " + (dir / "index.xml") + cannot +
                      "Sie ist ein Sitemap-Index; bitte eine der Sitemaps w\xE4hlen, die er nennt.",
                  "Die Sitemap " + (dir / "entity.xml") + cannot + "Sie nennt keine Adressen.",
              }));
}

// The hrefs of a generated file that name files: no address, no anchor.
std::vector<std::string> FileLinks(const std::string& html)
{
    static const std::regex href("href=\"([^\"]*)\"");
    std::vector<std::string> links;
    for (auto match = std::sregex_iterator(html.begin(), html.end(), href); match != std::sregex_iterator(); ++match) {
        const std::string link = (*match)[1];
        if (!link.empty() && link.find(':') == std::string::npos && link.front() != '#')
            links.push_back(link);
    }
    return links;
}

// The links of the items without a submenu: those a menu shows as they are
// (an item with a submenu links to its submenu file).
void CollectPageLinks(const std::vector<ImportedItem>& items, std::set<std::string>& links)
{
    for (const ImportedItem& item : items) {
        if (item.children.empty())
            links.insert(item.link);
        CollectPageLinks(item.children, links);
    }
}

TEST(ImportedProject, GeneratesAMenuWhoseLinksLeadToTheImportedPages)
{
    const TemporaryDirectory dir;
    const fs::path site = CopyExampleSite(dir);
    const fs::path menuFolder = site / "navigation";
    fs::create_directory(menuFolder);
    const std::string mainFile = Cp1252(menuFolder / "menu.htm");
    TqzHTML document;
    RecordedMessages messages;

    const ImportedSite imported = ReadSite(Cp1252(site), mainFile, messages);
    EXPECT_EQ(AddImportedItems(document, imported), 16u);
    document.SetFileSetting(fsTemplate, "Aufklappend");
    document.SetFileSetting(fsFilename, mainFile);
    ASSERT_TRUE(Generate(document, messages).complete) << testing::PrintToString(messages.texts);

    std::set<std::string> generatedLinks;
    for (const auto& entry : fs::directory_iterator(menuFolder)) {
        for (const std::string& link : FileLinks(ReadBytes(entry.path()))) {
            EXPECT_TRUE(fs::is_regular_file(menuFolder / test::PercentDecoded(link))) << link << " in " << entry.path();
            generatedLinks.insert(link);
        }
    }
    // Every imported page is reached from some file of the menu; the rest
    // of the links are the menu's own files.
    std::set<std::string> importedLinks;
    CollectPageLinks(imported.items, importedLinks);
    EXPECT_EQ(importedLinks.size(), 12u);
    for (const std::string& link : importedLinks)
        EXPECT_EQ(generatedLinks.count(link), 1u) << link;
    EXPECT_TRUE(messages.texts.empty()) << testing::PrintToString(messages.texts);
}

} // namespace
} // namespace tw
