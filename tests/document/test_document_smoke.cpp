#include "document/qzhtml.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(Document, NewDocumentHasDefaults)
{
    std::vector<bool> changes;
    TqzHTML doc([&](bool m) { changes.push_back(m); });
    EXPECT_EQ(doc.Tree().Count(), 1u);
    EXPECT_EQ(doc.Tree().Root().Caption(), "Unbenannt");
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(changes, std::vector<bool>{false});
    EXPECT_EQ(doc.GetString(siHr), "<hr>");
}

} // namespace
} // namespace tw
