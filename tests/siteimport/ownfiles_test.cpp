// A folder import reads the site's pages, not the menus generated into it,
// and finds the index pages that servers of such sites use.
#include "siteimport/siteimport.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "platform/paths.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::RecordedMessages;
using test::TemporaryDirectory;

std::string Outline(const std::vector<ImportedItem>& items, const std::string& indent = "")
{
    std::string out;
    for (const ImportedItem& item : items)
        out += indent + item.caption + " | " + item.link + "\n" + Outline(item.children, indent + "  ");
    return out;
}

std::string ImportOutline(const fs::path& site, const std::string& mainFile = "")
{
    RecordedMessages messages;
    const std::string outline = Outline(ReadSite(FromFsPath(site), mainFile, messages).items);
    EXPECT_TRUE(messages.texts.empty()) << testing::PrintToString(messages.texts);
    return outline;
}

TEST(OwnFiles, MenusOfEveryShippedSetGeneratedIntoTheSiteAreNoPages)
{
    const TemporaryDirectory dir;
    const fs::path site = dir.Path() / "site";
    fs::copy(TW_EXAMPLE_SITE, site, fs::copy_options::recursive);
    const std::string before = ImportOutline(site);
    TqzHTML document;
    RecordedMessages messages;
    AddImportedItems(document, ReadSite(FromFsPath(site), "", messages));
    // Under names of their own, submenu files as .php, and a frameset that
    // shows one of them.
    document.SetFileSetting(fsFileExt, ".php");
    std::size_t generated = 0;
    for (const char* set : {"Aufklappbar", "Aufklappend", "Einbinden", "Komplett", "Rahmen", "Seitenleiste"}) {
        document.SetFileSetting(fsTemplate, set);
        const GenerationCounts counts =
            Generate(document, FromFsPath(site / "service" / (std::string("nav-") + set + ".html")), messages);
        ASSERT_TRUE(counts.complete) << set << ": " << testing::PrintToString(messages.texts);
        generated += counts.written;
    }
    dir.Write("site/service/rahmen.html", "<title>Rahmen</title><frameset cols='20%,*'>"
                                          "<frame src='nav-Rahmen.html?x'><frame src='lieferung.html'></frameset>");
    // A page that carries the menu between its markers is still a page.
    dir.Write("site/service/embedded.html", "<title>Mit Men\xFC</title><!-- treeweaver:menu -->"
                                            "<nav class='tw-nav'><a id='Child1' href='Child1.htm'>x</a></nav>"
                                            "<!-- /treeweaver:menu sum=\"0\" -->");
    const std::string embedded = "  Mit Men\xFC | service/embedded.html\n";

    EXPECT_GT(generated, 10u);
    const std::string after = ImportOutline(site);
    EXPECT_EQ(after.substr(0, after.find(embedded)) + after.substr(after.find(embedded) + embedded.size()), before);
    EXPECT_NE(after.find(embedded), std::string::npos) << after;
}

TEST(OwnFiles, IndexPagesOfEveryKindAndFramesetsOfPagesOnlyAreRead)
{
    const TemporaryDirectory dir;
    dir.Write("site/menue.htm", "<title>Men\xFC aus eigener Vorlage</title>");
    dir.Write("site/a/index.shtml", "<title>A</title>");
    dir.Write("site/b/index.xhtml", "<title>X</title>");
    dir.Write("site/b/INDEX.PHP", "<title>P</title>");
    dir.Write("site/b/Index.shtml", "<title>S</title>");
    dir.Write("site/c/index.php", "<title>C</title>");
    dir.Write("site/rahmen.html", "<title>R</title><frameset><frame src='a/index.shtml'><frame src='Kind9.htm'>"
                                  "<frame src='http://x.example/Child1.htm'><frame src='fehlt.htm'></frameset>");
    dir.Write("site/r2.html", "<title>R2</title><frameset><frame src='Child1,2.php'></frameset>");

    // The main file is no page, whatever it holds.
    EXPECT_EQ(ImportOutline(dir / "site", dir / "site/menue.htm"), "A | a/index.shtml\n"
                                                                   "S | b/Index.shtml\n"
                                                                   "  P | b/INDEX.PHP\n"
                                                                   "  X | b/index.xhtml\n"
                                                                   "C | c/index.php\n"
                                                                   "R | rahmen.html\n");
}

} // namespace
} // namespace tw
