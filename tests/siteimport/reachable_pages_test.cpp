// Every page that a menu item links to must be reachable from the generated
// menu, whichever shipped template set writes it: also the page of an item
// that has a submenu.
#include "siteimport/siteimport.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "platform/paths.h"
#include "projectfiles/projectfiles.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tw {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RecordedMessages;
using test::TemporaryDirectory;

std::vector<std::string> ShippedSets()
{
    std::vector<std::string> sets;
    for (const auto& entry : fs::directory_iterator(ToFsPath(TemplatesDirectory()))) {
        if (entry.is_directory() && !entry.path().filename().string().starts_with("."))
            sets.push_back(entry.path().filename().string());
    }
    return sets;
}

// Generates the document with every shipped set and expects the link of
// every item, parents included, as a link in one of the written files.
void ExpectEveryItemLinkReachable(TqzHTML& document, const std::string& what)
{
    std::size_t itemLinks = 0;
    for (const std::string& set : ShippedSets()) {
        const TemporaryDirectory out;
        RecordedMessages messages;
        document.SetFileSetting(fsTemplate, set);
        document.SetFileSetting(fsFilename, FromFsPath(out.Path() / "menue.htm"));
        ASSERT_TRUE(Generate(document, messages).complete) << set << ": " << testing::PrintToString(messages.texts);
        std::string all;
        for (const auto& entry : fs::directory_iterator(out.Path()))
            all += ReadBytes(entry.path());
        itemLinks = 0;
        for (const MenuNode* node = document.Tree().Root().NextPreOrder(); node; node = node->NextPreOrder()) {
            const std::string& link = node->Item()->Link;
            if (link.empty())
                continue;
            ++itemLinks;
            EXPECT_NE(all.find("href=\"" + link + "\""), std::string::npos)
                << what << ", " << set << ": no link to " << link << " (" << node->Caption() << ")";
        }
    }
    EXPECT_GT(itemLinks, 5u) << what;
}

TEST(ReachablePages, EveryItemOfTheExampleProjectInEverySet)
{
    TqzHTML document;
    RecordedMessages messages;
    int format = 0;
    ASSERT_TRUE(LoadProject(document, TW_EXAMPLE_PROJECT, format, messages)) << testing::PrintToString(messages.texts);
    ExpectEveryItemLinkReachable(document, "example project");
}

TEST(ReachablePages, EveryFolderAndPageOfAnImportedSiteInEverySet)
{
    const TemporaryDirectory dir;
    const fs::path site = dir.Path() / "site";
    fs::copy(TW_EXAMPLE_SITE, site, fs::copy_options::recursive);
    TqzHTML document;
    RecordedMessages messages;
    AddImportedItems(document, ReadSite(FromFsPath(site), FromFsPath(site / "menue.htm"), messages));
    // Three levels: pflanzen/obstgehoelze/aepfel.html.
    ASSERT_EQ(document.Tree().Root().Child(0)->Level(), 1);
    bool third = false;
    for (const MenuNode* node = document.Tree().Root().NextPreOrder(); node; node = node->NextPreOrder())
        third = third || node->Level() == 3;
    ASSERT_TRUE(third);
    ExpectEveryItemLinkReachable(document, "imported site");
}

} // namespace
} // namespace tw
