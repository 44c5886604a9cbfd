// Writing the menu into a site's pages: the bytes around the blocks, the
// safety of the writing, encodings, links and the page's item.
#include "generator/generator.h"
#include "platform/error.h"
#include "siteembed/embedrun.h"
#include "siteembed/markers.h"
#include "siteembed/sitelinks.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::AddItem;
using test::ReadBytes;
using test::RecordedMessages;
using test::TemporaryDirectory;

const std::string Pair = "<!-- treeweaver:menu --><!-- /treeweaver:menu -->";

// A set whose embedded form shows each entry's state, link and caption.
void WriteTracingForm(const TemporaryDirectory& templates)
{
    templates.Write("Spur/template.ini", "[Level]\nLevel0=x\n[Embed]\nLevel0=e\nStylesheet=s.css\n");
    templates.Write("Spur/Embed_Head.txt", "<link href=\"$RootPath$m.css\">\n");
    templates.Write("Spur/e_MenuPoint.txt", "[$ItemState$ $Link$$AriaCurrent$ $Linkname$]\n");
    templates.Write("Spur/e_MPOpen.txt", "[$ItemState$ $Link$$AriaCurrent$ $Linkname$ {\n");
    templates.Write("Spur/e_MPParent.txt", "[$ItemState$ $Link$$AriaCurrent$ $Linkname$ +]\n");
    templates.Write("Spur/e_SubMenuEnd.txt", "}]\n");
    templates.Write("Spur/Embed_Crumb.txt", "$Linkname$\n");
    templates.Write("Spur/Embed_CrumbSep.txt", ">\n");
    templates.Write("Spur/Embed_Prev.txt", "prev $Link$\n");
    templates.Write("Spur/Embed_Next.txt", "next $Link$\n");
    templates.Write("Spur/s.css", "a{color:$LinkColor$}\n");
}

// Fails the rename of one file, as a full disk or a vanished folder would.
class FailingWriter : public SiteWriter {
public:
    FailingWriter(std::string root, std::string failing) : SiteWriter(std::move(root)), failing_(std::move(failing)) {}

protected:
    int PutInPlace(int folder, const std::string& temporary, const std::string& name) override
    {
        return name == failing_ ? ENOSPC : SiteWriter::PutInPlace(folder, temporary, name);
    }

private:
    std::string failing_;
};

class EmbedTest : public ::testing::Test {
protected:
    EmbedTest()
    {
        WriteTracingForm(templates);
        SetTemplatesDirectory(templates / "");
        document.SetFileSetting(fsTemplate, "Spur");
        MenuNode& root = document.Tree().Root();
        AddItem(document, root, "Start", "index.html");
        MenuNode& about = AddItem(document, root,
                                  "\xDC"
                                  "ber uns",
                                  "ueber%20uns/index.html");
        AddItem(document, about, "Team", "ueber uns/team.html#oben");
        MenuNode& courses = AddItem(document, root, "Kurse", "kurse/");
        AddItem(document, courses, "Yoga", "kurse/a/b/yoga.html");
        AddItem(document, root, "Extern", "http://example.org/?a=1&b=2");
        for (const char* page :
             {"index.html", "ueber uns/index.html", "ueber uns/team.html", "kurse/index.html", "kurse/a/b/yoga.html"})
            site.Write(page, "<body>\n" + Pair + "\n</body>\n");
        options.siteFolder = site / "";
    }
    ~EmbedTest() override { SetTemplatesDirectory(""); }

    EmbedForm Form()
    {
        const std::optional<EmbedForm> form = LoadEmbedForm(document, messages);
        EXPECT_TRUE(form) << (messages.texts.empty() ? "" : messages.texts.front());
        return *form;
    }
    StagedRun Stage(SiteWriter& writer, RunState& runState)
    {
        return StageEmbed(document, Form(), options, writer, runState);
    }
    EmbedResult Run(SiteWriter& writer)
    {
        RunState runState(state.Path(), options.siteFolder);
        StagedRun run = Stage(writer, runState);
        CommitEmbed(run, writer, runState);
        return run.result;
    }
    EmbedResult Run()
    {
        SiteWriter writer(options.siteFolder);
        return Run(writer);
    }
    std::string Page(const std::string& name) const { return ReadBytes(site.Path() / name); }
    // The content of the page's menu block.
    std::string Menu(const std::string& name) const
    {
        const std::string bytes = Page(name);
        const MarkerScan scan = ScanMarkers(bytes);
        for (const MarkedBlock& block : scan.blocks) {
            if (block.kind == BlockKind::Menu)
                return bytes.substr(block.contentBegin, block.contentEnd - block.contentBegin);
        }
        return "(kein Block) " + scan.fault;
    }

    TemporaryDirectory templates;
    TemporaryDirectory site;
    TemporaryDirectory state;
    RecordedMessages messages;
    TqzHTML document;
    EmbedOptions options;
};

TEST_F(EmbedTest, BytesOutsideTheMarkersStayAndASecondRunWritesNothing)
{
    const std::vector<std::pair<std::string, std::string>> pages = {
        {"bom.html", "\xEF\xBB\xBF<p>\r\n"},
        {"crlf.php", "<?php x(); ?>\r\n<p>\r\n"},
        {"mixed.shtml", "a\r\nb\nc\rd\r\n"},
        {"ende.htm", "<p>ohne Zeilenende"},
    };
    for (const auto& [name, before] : pages)
        site.Write(name, before + Pair + (name == "ende.htm" ? "" : "\n<!-- x -->"));
    const EmbedResult first = Run();
    ASSERT_TRUE(first.refused.empty()) << first.refused.front();
    for (const auto& [name, before] : pages) {
        const std::string after = Page(name);
        EXPECT_TRUE(after.starts_with(before + "<!-- treeweaver:menu -->")) << name;
        EXPECT_TRUE(after.ends_with(name == "ende.htm" ? "\" -->" : "\" -->\n<!-- x -->")) << name;
        EXPECT_EQ(after.find("\r\n") != std::string::npos, before.find("\r\n") != std::string::npos) << name;
    }
    const auto stamp = fs::last_write_time(site.Path() / "bom.html");
    const EmbedResult second = Run();
    EXPECT_TRUE(second.changed.empty());
    EXPECT_EQ(second.unchanged, first.changed.size() - 1); // all pages, not the stylesheet
    EXPECT_EQ(fs::last_write_time(site.Path() / "bom.html"), stamp);
    EXPECT_EQ(Page("treeweaver-menu.css"), "/* treeweaver:stylesheet */\r\na{color:}\r\n");
    // Pages the last run left up to date are read again once the menu or
    // the template set changes.
    document.Tree().SetCaption(*document.Tree().Root().Child(0), "Anfang");
    EXPECT_EQ(Run().changed.size(), second.unchanged);
    EXPECT_NE(Menu("bom.html").find("Anfang"), std::string::npos);
    templates.Write("Spur/e_MenuPoint.txt", "($Linkname$)\n");
    EXPECT_EQ(Run().changed.size(), second.unchanged);
    EXPECT_NE(Menu("bom.html").find("(Anfang)"), std::string::npos);
}

TEST_F(EmbedTest, PagesWithoutMarkersAreListedOrGetThemOnRequest)
{
    const std::string page = "<html><head><title>x</title></HEAD>\r\n<BODY class=\"a\">\r\n<p>x</p></body>";
    site.Write("ohne.html", page);
    const EmbedResult listed = Run();
    EXPECT_EQ(listed.withoutMarkers, std::vector<std::string>{site / "ohne.html"});
    EXPECT_EQ(Page("ohne.html"), page);
    options.insertMarkers = true;
    Run();
    const std::string after = Page("ohne.html");
    EXPECT_TRUE(after.starts_with("<html><head><title>x</title><!-- treeweaver:head -->\r\n<link href=\"m.css\">"))
        << after;
    EXPECT_NE(after.find("</HEAD>\r\n<BODY class=\"a\">\r\n<!-- treeweaver:menu -->\r\n[pfad index.html Start]"),
              std::string::npos);
    EXPECT_TRUE(after.ends_with(" -->\r\n\r\n<p>x</p></body>"));
}

TEST(Markers, EveryFaultIsToldWithItsLine)
{
    const std::vector<std::pair<std::string, std::string>> faults = {
        {"a\n<!-- treeweaver:menu -->\n", "Zeile 2: Block treeweaver:menu ohne Ende"},
        {"<!-- /treeweaver:menu -->", "Zeile 1: Ende von treeweaver:menu ohne passenden Anfang"},
        {"<!-- treeweaver:menu -->\n<!-- treeweaver:head -->", "Zeile 2: Anfang von treeweaver:head innerhalb"},
        {"<!-- treeweaver:menu --><!-- /treeweaver:menu -->\r\n\r\n<!-- treeweaver:menu -->",
         "Zeile 3: zweiter Block treeweaver:menu"},
        {"<script>\nx = '<!-- treeweaver:menu -->';</script>", "Zeile 2: Markierung innerhalb von <script>"},
        {"<STYLE>\n</style><textarea>\r<!-- /treeweaver:menu -->", "Zeile 3: Markierung innerhalb von <textarea>"},
        {"<!-- alt\n<!-- treeweaver:menu -->", "Zeile 2: Markierung innerhalb eines anderen Kommentars"},
        {"<!-- treeweaver:men\xFC -->", "Zeile 1: unbekannte Markierung"},
        {"<!-- treeweaver:head item=\"a\" -->", "Zeile 1: unbekanntes Attribut \"item\""},
    };
    for (const auto& [page, fault] : faults) {
        const MarkerScan scan = ScanMarkers(page);
        EXPECT_TRUE(scan.fault.starts_with(fault)) << page << " -> " << scan.fault;
        EXPECT_TRUE(scan.blocks.empty());
    }
    const MarkerScan fine = ScanMarkers("<script>a<b</script>\n<!-- treeweaver:menu item=\"x.html\" -->"
                                        "<!-- c --><!-- /treeweaver:menu sum=\"1\" -->");
    ASSERT_EQ(fine.blocks.size(), 1u);
    EXPECT_EQ(fine.blocks[0].line, 2);
    EXPECT_EQ(fine.blocks[0].item, "x.html");
    EXPECT_EQ(fine.blocks[0].sum, "1");
}

TEST_F(EmbedTest, ABlockEditedByHandIsRefusedUntilForced)
{
    Run();
    std::string edited = Page("index.html");
    edited.insert(edited.find("[seite"), "Hand");
    site.Write("index.html", edited);
    const EmbedResult refused = Run();
    ASSERT_EQ(refused.refused.size(), 1u);
    EXPECT_NE(refused.refused[0].find("index.html: Zeile 2: Der Block treeweaver:menu wurde von Hand"),
              std::string::npos);
    EXPECT_EQ(Page("index.html"), edited);
    // Content in a pair the user put there counts as edited too.
    site.Write("kurse/index.html", "<!-- treeweaver:menu -->eigen<!-- /treeweaver:menu -->");
    options.force = {"index.html"};
    const EmbedResult forced = Run();
    EXPECT_EQ(forced.refused.size(), 1u);
    EXPECT_EQ(Page("index.html").find("Hand"), std::string::npos);
    EXPECT_EQ(Page("kurse/index.html"), "<!-- treeweaver:menu -->eigen<!-- /treeweaver:menu -->");
}

TEST_F(EmbedTest, APageChangedAfterPreparingIsSkipped)
{
    SiteWriter writer(options.siteFolder);
    RunState runState(state.Path(), options.siteFolder);
    StagedRun run = Stage(writer, runState);
    site.Write("index.html", "<body>\n" + Pair + "\nneu\n</body>\n");
    CommitEmbed(run, writer, runState);
    ASSERT_EQ(run.result.refused.size(), 1u);
    EXPECT_NE(run.result.refused[0].find("index.html: Die Seite wurde inzwischen ge\xE4ndert"), std::string::npos);
    EXPECT_EQ(Page("index.html"), "<body>\n" + Pair + "\nneu\n</body>\n");
    EXPECT_NE(Menu("kurse/index.html").find("[seite"), std::string::npos);
    // The next run reads the page again and writes its menu.
    EXPECT_EQ(Run().changed, std::vector<std::string>{"index.html"});
}

TEST_F(EmbedTest, AFailedWriteLeavesEveryPageAsItWasAndUndoRestoresARun)
{
    std::vector<std::string> before;
    for (const std::string& page : ListSiteFiles(site / "").pages)
        before.push_back(Page(page));
    // The pages go in sorted order: "ueber uns/team.html" is the last page.
    FailingWriter failing(options.siteFolder, "team.html");
    EXPECT_THROW(Run(failing), Error);
    const std::vector<std::string> pages = ListSiteFiles(site / "").pages;
    for (std::size_t index = 0; index < pages.size(); ++index)
        EXPECT_EQ(Page(pages[index]), before[index]) << pages[index];
    EXPECT_FALSE(fs::exists(site.Path() / "treeweaver-menu.css"));

    Run();
    std::string late = Page("kurse/index.html") + "<!-- danach -->";
    site.Write("kurse/index.html", late);
    SiteWriter writer(options.siteFolder);
    RunState runState(state.Path(), options.siteFolder);
    std::vector<std::string> skipped;
    const std::vector<std::optional<std::string>> current = runState.StageUndo(writer, skipped);
    writer.Commit([&current](std::size_t place) { return current[place]; });
    runState.Forget();
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_NE(skipped[0].find("kurse/index.html"), std::string::npos);
    EXPECT_EQ(Page("index.html"), before[2]);
    EXPECT_EQ(Page("kurse/index.html"), late);
    EXPECT_FALSE(fs::exists(site.Path() / "treeweaver-menu.css"));
    EXPECT_THROW(runState.StageUndo(writer, skipped), Error);
}

TEST_F(EmbedTest, EveryEncodingGetsReferencesAndUtf16IsRefused)
{
    const std::vector<std::string> heads = {"<meta charset=\"utf-8\"><p>Gr\xC3\xBC\xC3\x9F"
                                            "e",
                                            "<meta charset=\"windows-1252\"><p>Gr\xFC\xDF"
                                            "e \x80",
                                            "<p>Gr\xFC\xDF"
                                            "e ohne Angabe",
                                            "<meta charset=\"iso-8859-15\"><p>\xA4"};
    for (std::size_t index = 0; index < heads.size(); ++index)
        site.Write("k" + std::to_string(index) + ".html", heads[index] + Pair);
    site.Write("utf16.html", std::string("\xFF\xFE<\0b\0", 6));
    site.Write("nul.html", std::string("<p>\0</p>", 8) + Pair);
    const EmbedResult result = Run();
    for (std::size_t index = 0; index < heads.size(); ++index) {
        const std::string name = "k" + std::to_string(index) + ".html";
        EXPECT_TRUE(Page(name).starts_with(heads[index] + "<!-- treeweaver:menu -->")) << name;
        EXPECT_NE(Menu(name).find("&#220;ber uns"), std::string::npos) << name;
    }
    ASSERT_EQ(result.refused.size(), 2u);
    EXPECT_NE(result.refused[0].find("NUL-Bytes"), std::string::npos);
    EXPECT_NE(result.refused[1].find("UTF-16"), std::string::npos);
}

TEST_F(EmbedTest, LinksLeadFromEveryDepthAndFromTheRoot)
{
    site.Write("kurse/a/b/yoga.html", "<!-- treeweaver:head --><!-- /treeweaver:head -->" + Pair);
    Run();
    EXPECT_EQ(Menu("index.html"), "\n[seite index.html aria-current=\"page\" Start]\n"
                                  "[sonst ueber%20uns/index.html &#220;ber uns +]\n"
                                  "[sonst kurse/index.html Kurse +]\n"
                                  "[sonst http://example.org/?a=1&amp;b=2 Extern]\n");
    EXPECT_EQ(Menu("ueber uns/team.html"), "\n[sonst ../index.html Start]\n"
                                           "[pfad index.html &#220;ber uns {\n"
                                           "[seite team.html#oben aria-current=\"page\" Team]\n"
                                           "}]\n"
                                           "[sonst ../kurse/index.html Kurse +]\n"
                                           "[sonst http://example.org/?a=1&amp;b=2 Extern]\n");
    const std::string deep = Menu("kurse/a/b/yoga.html");
    EXPECT_NE(deep.find("[sonst ../../../index.html Start]"), std::string::npos);
    EXPECT_NE(deep.find("[pfad ../../index.html Kurse {\n[seite yoga.html aria-current"), std::string::npos);
    EXPECT_NE(Page("kurse/a/b/yoga.html").find("<link href=\"../../../m.css\">"), std::string::npos);

    options.fromRoot = true;
    Run();
    EXPECT_NE(Menu("kurse/a/b/yoga.html").find("[sonst /ueber%20uns/index.html"), std::string::npos);
    EXPECT_NE(Page("kurse/a/b/yoga.html").find("<link href=\"/m.css\">"), std::string::npos);
}

TEST_F(EmbedTest, ThePageItemIsOwnFirstOfSeveralAFoldersOrTheMarkersChoice)
{
    AddItem(document, document.Tree().Root(), "Nochmal", "./index.html");
    site.Write("kurse/a/frei.html", Pair);
    site.Write("gewaehlt.html", "<!-- treeweaver:menu item=\"ueber%20uns/team.html\" --><!-- /treeweaver:menu -->");
    site.Write("falsch.html", "<!-- treeweaver:menu item=\"fehlt.html\" --><!-- /treeweaver:menu -->");
    const EmbedResult result = Run();
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("index.html: 2 Men\xFCpunkte verweisen auf die Seite"), std::string::npos);
    EXPECT_NE(Menu("index.html").find("[seite index.html aria-current=\"page\" Start]"), std::string::npos);
    EXPECT_NE(Menu("index.html").find("[sonst index.html Nochmal]"), std::string::npos);
    // The parent's own page: open and marked.
    EXPECT_NE(Menu("kurse/index.html").find("[seite index.html aria-current=\"page\" Kurse {"), std::string::npos);
    // A page no item names shows its folder's item open but not marked.
    const std::string free = Menu("kurse/a/frei.html");
    EXPECT_NE(free.find("[pfad ../index.html Kurse {"), std::string::npos);
    EXPECT_EQ(free.find("aria-current"), std::string::npos);
    EXPECT_NE(Menu("gewaehlt.html").find("[seite ueber%20uns/team.html#oben aria-current"), std::string::npos);
    ASSERT_EQ(result.refused.size(), 1u);
    EXPECT_NE(result.refused[0].find("falsch.html: Kein Men\xFCpunkt verweist auf item=\"fehlt.html\""),
              std::string::npos);
}

TEST_F(EmbedTest, MarkerTextInACaptionCannotEndTheBlock)
{
    AddItem(document, document.Tree().Root(), "<!-- /treeweaver:menu -->", "x.html");
    Run();
    Run();
    EXPECT_NE(Menu("index.html").find("&lt;!-- /treeweaver:menu -->"), std::string::npos);
    EXPECT_TRUE(Run().refused.empty());
}

} // namespace
} // namespace tw
