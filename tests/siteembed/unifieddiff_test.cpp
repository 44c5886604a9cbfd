#include "siteembed/unifieddiff.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

std::string Numbered(int from, int to)
{
    std::string text;
    for (int line = from; line <= to; ++line)
        text += std::to_string(line) + "\n";
    return text;
}

TEST(UnifiedDiff, ChangesFarApartGetAHunkEachWithThreeLinesOfContext)
{
    const std::string before = Numbered(1, 20);
    const std::string after = "0\n" + Numbered(1, 9) + "zehn\n" + Numbered(11, 20) + "21";
    EXPECT_EQ(UnifiedDiff("a.html", before, after), "--- a/a.html\n+++ b/a.html\n"
                                                    "@@ -1,3 +1,4 @@\n+0\n 1\n 2\n 3\n"
                                                    "@@ -7,7 +8,7 @@\n 7\n 8\n 9\n-10\n+zehn\n 11\n 12\n 13\n"
                                                    "@@ -18,3 +19,4 @@\n 18\n 19\n 20\n+21\n"
                                                    "\\ No newline at end of file\n");
    EXPECT_EQ(UnifiedDiff("a.html", before, before), "--- a/a.html\n+++ b/a.html\n");
}

} // namespace
} // namespace tw
