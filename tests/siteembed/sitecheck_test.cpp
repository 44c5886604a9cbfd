#include "siteembed/sitecheck.h"

#include "document/qzhtml.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

using test::AddItem;
using test::TemporaryDirectory;

std::vector<std::string> Texts(const std::vector<SiteFault>& faults)
{
    std::vector<std::string> texts;
    for (const SiteFault& fault : faults)
        texts.push_back(SiteFaultText(fault));
    return texts;
}

TEST(SiteCheck, EveryKindOfFaultOnceWithTheItemAndLinkItConcerns)
{
    const TemporaryDirectory dir;
    for (const char* page :
         {"site/index.html", "site/a/index.php", "site/a/Seite.html", "site/a/verwaist.shtml", "site/b/\u00DCber.htm",
          "site/leer/bild.png", "site/nav/Child1,2.htm", "site/nav/menu.htm", "site/.alt/x.html"})
        dir.Write(page, "<title>x</title>");
    dir.Write("site/nav/untermenue.html", "<nav class='tw-nav'><a href='menu.htm'>x</a></nav>");
    TqzHTML document;
    MenuNode& root = document.Tree().Root();
    AddItem(document, root, "Start", "../index.html");
    MenuNode& a = AddItem(document, root, "A", "/a/");
    AddItem(document, a, "Seite", "../a/seite.html#oben");
    AddItem(document, a, "Fehlt", "../a/fehlt.html");
    AddItem(document, a, "Leer", "../leer");
    AddItem(document, a, "Extern", "https://example.org/x.html");
    AddItem(document, root, "Kein Link", "");
    AddItem(document, root, "Nur Anker", "#oben");
    AddItem(document, root, "Umlaut", "../B/%C3%BCber.htm");

    const std::vector<SiteFault> faults = CheckSite(document, ReadMenuSite(dir / "site", dir / "site/nav/menu.htm"));

    // Items in tree order, then pages; the main file, the submenu file and
    // the generated menu are no pages.
    EXPECT_EQ(Texts(faults),
              (std::vector<std::string>{
                  "Men\xFCpunkt \"Seite\": Der Link \"../a/seite.html#oben\" f\xFChrt nur in anderer Gro\xDF- und "
                  "Kleinschreibung zu \"a/Seite.html\".",
                  "Men\xFCpunkt \"Fehlt\": Der Link \"../a/fehlt.html\" f\xFChrt zu keiner Datei der Website.",
                  "Men\xFCpunkt \"Leer\": Der Link \"../leer\" nennt einen Ordner ohne Startseite (index.html, "
                  "index.htm, index.shtml, index.php, index.xhtml).",
                  "Men\xFCpunkt \"Kein Link\" hat keinen Link zu einer Seite.",
                  "Men\xFCpunkt \"Nur Anker\" hat keinen Link zu einer Seite.",
                  "Men\xFCpunkt \"Umlaut\": Der Link \"../B/%C3%BCber.htm\" f\xFChrt nur in anderer Gro\xDF- und "
                  "Kleinschreibung zu \"b/\xDC"
                  "ber.htm\".",
                  "Seite \"a/verwaist.shtml\": Kein Men\xFCpunkt verweist auf sie.",
              }));
    ASSERT_EQ(faults.size(), 7u);
    EXPECT_EQ(faults[1].kind, SiteFaultKind::MissingFile);
    EXPECT_EQ(faults[1].item, 4u);
    EXPECT_EQ(faults[1].caption, "Fehlt");
    EXPECT_EQ(faults[6].kind, SiteFaultKind::UnlinkedPage);
    EXPECT_EQ(faults[6].item, 0u);
}

} // namespace
} // namespace tw
