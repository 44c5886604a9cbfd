#include "document/relativepath.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(MakeRelativePath, WindowsPathsOnOneDrive)
{
    EXPECT_EQ(MakeRelativePath("C:\\web\\menu\\", "C:\\web\\pages\\a.htm"), "..\\pages\\a.htm");
    EXPECT_EQ(MakeRelativePath("C:\\web\\", "C:\\web\\menu\\b.htm"), "menu\\b.htm");
    EXPECT_EQ(MakeRelativePath("C:\\web\\", "C:\\web\\c.htm"), "c.htm");
    EXPECT_EQ(MakeRelativePath("C:\\web\\menu\\deep\\", "C:\\other\\x.htm"), "..\\..\\..\\other\\x.htm");
}

TEST(MakeRelativePath, WindowsNamesAndDrivesIgnoreCase)
{
    EXPECT_EQ(MakeRelativePath("c:\\WEB\\Menu\\", "C:\\web\\menu\\sub\\a.htm"), "sub\\a.htm");
    EXPECT_EQ(MakeRelativePath("C:/web/menu/", "C:\\web\\pages\\a.htm"), "..\\pages\\a.htm");
}

TEST(MakeRelativePath, OtherDriveOrShareGivesThePathUnchanged)
{
    EXPECT_EQ(MakeRelativePath("C:\\web\\", "D:\\web\\a.htm"), "D:\\web\\a.htm");
    EXPECT_EQ(MakeRelativePath("\\\\server\\share\\web\\", "\\\\server\\other\\web\\a.htm"),
              "\\\\server\\other\\web\\a.htm");
    EXPECT_EQ(MakeRelativePath("\\\\Server\\Share\\web\\menu\\", "\\\\server\\share\\web\\a.htm"), "..\\a.htm");
}

TEST(MakeRelativePath, EmptyBaseGivesThePathUnchanged)
{
    EXPECT_EQ(MakeRelativePath("", "C:\\web\\pages\\a.htm"), "C:\\web\\pages\\a.htm");
    EXPECT_EQ(MakeRelativePath("", "/web/pages/a.htm"), "/web/pages/a.htm");
}

TEST(MakeRelativePath, PosixPaths)
{
    EXPECT_EQ(MakeRelativePath("/web/menu/", "/web/pages/a.htm"), "../pages/a.htm");
    EXPECT_EQ(MakeRelativePath("/web/", "/web/menu/b.htm"), "menu/b.htm");
    EXPECT_EQ(MakeRelativePath("/web/menu/", "/web/menu/c.htm"), "c.htm");
    EXPECT_EQ(MakeRelativePath("/home/a/site/", "/srv/x.htm"), "../../../srv/x.htm");
    EXPECT_EQ(MakeRelativePath("/web//menu/", "/web/menu/c.htm"), "c.htm");
}

TEST(MakeRelativePath, PosixNamesKeepTheirCase)
{
    EXPECT_EQ(MakeRelativePath("/Web/menu/", "/web/menu/a.htm"), "../../web/menu/a.htm");
}

TEST(MakeRelativePath, RelativeAgainstAbsoluteGivesThePathUnchanged)
{
    EXPECT_EQ(MakeRelativePath("site/", "/web/a.htm"), "/web/a.htm");
    EXPECT_EQ(MakeRelativePath("/web/", "a.htm"), "a.htm");
}

TEST(MakeRelativePath, TwoRelativeDirectories)
{
    EXPECT_EQ(MakeRelativePath("menu/", "pages/a.htm"), "../pages/a.htm");
    EXPECT_EQ(MakeRelativePath("site\\menu\\", "site\\pages\\a.htm"), "..\\pages\\a.htm");
}

} // namespace
} // namespace tw
