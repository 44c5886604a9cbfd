// The menu of every shipped set written into XHTML pages: the pages stay
// well-formed XML, which knows no named references beyond its own five and
// no bare "&".
#include "generator/generator.h"
#include "siteembed/embedrun.h"

#include "support/test_support.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>

namespace tw {
namespace {

using test::AddItem;
using test::ReadBytes;
using test::TemporaryDirectory;

const std::string XhtmlPage = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>T</title>\n"
                              "<!-- treeweaver:head --><!-- /treeweaver:head --></head><body>\n"
                              "<!-- treeweaver:breadcrumb --><!-- /treeweaver:breadcrumb -->\n"
                              "<!-- treeweaver:menu --><!-- /treeweaver:menu -->\n"
                              "<!-- treeweaver:prevnext --><!-- /treeweaver:prevnext -->\n"
                              "</body></html>\n";

// The parser's first complaint, or nothing when the text is well-formed.
std::string XmlFault(const std::string& text)
{
    xmlDocPtr parsed = xmlReadMemory(text.data(), static_cast<int>(text.size()), "page.xhtml", nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    const xmlError* error = xmlGetLastError();
    std::string fault = parsed ? "" : error ? error->message : "unlesbar";
    xmlFreeDoc(parsed);
    return fault;
}

class XhtmlEmbedTest : public ::testing::TestWithParam<std::string> {};

TEST_P(XhtmlEmbedTest, PagesStayWellFormedAndCaptionsKeepTheirReferences)
{
    SetTemplatesDirectory("");
    TqzHTML document;
    document.SetFileSetting(fsTemplate, GetParam());
    MenuNode& root = document.Tree().Root();
    AddItem(document, root, "Start", "index.xhtml");
    MenuNode& house = AddItem(document, root, "Haus & Garten", "a/index.xhtml");
    AddItem(document, house,
            "Gr&#252;n &amp; Bl\xFC"
            "te",
            "a/seite.xhtml");
    AddItem(document, root, "Kontakt", "kontakt.xhtml");
    TemporaryDirectory site;
    TemporaryDirectory state;
    for (const char* page : {"index.xhtml", "a/index.xhtml", "a/seite.xhtml", "kontakt.xhtml"})
        site.Write(page, XhtmlPage);

    test::RecordedMessages messages;
    const std::optional<EmbedForm> form = LoadEmbedForm(document, messages);
    ASSERT_TRUE(form);
    EmbedOptions options;
    options.siteFolder = site / "";
    SiteWriter writer(options.siteFolder);
    RunState runState(state.Path(), options.siteFolder);
    StagedRun run = StageEmbed(document, *form, options, writer, runState);
    CommitEmbed(run, writer, runState);
    ASSERT_TRUE(run.result.refused.empty()) << run.result.refused.front();

    for (const char* page : {"index.xhtml", "a/seite.xhtml"})
        EXPECT_EQ(XmlFault(ReadBytes(site.Path() / page)), "") << page;
    const std::string inner = ReadBytes(site.Path() / "a/seite.xhtml");
    EXPECT_NE(inner.find("aus &amp; Garten"), std::string::npos);
    EXPECT_NE(inner.find("r&#252;n &amp; Bl&#252;te"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Sets, XhtmlEmbedTest,
                         ::testing::Values("Aufklappbar", "Aufklappend", "Einbinden", "Komplett", "Rahmen",
                                           "Seitenleiste"));

} // namespace
} // namespace tw
