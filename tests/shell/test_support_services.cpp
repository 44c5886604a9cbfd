#include "shell_test_support.h"

#include "shell/cdialog.h"
#include "shell/cfile.h"
#include "shell/csetting.h"
#include "shell/dialogfilter.h"
#include "shell/projectfilenames.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <dlfcn.h>

namespace tw::shelltest {
namespace {

using SupportServicesTest = ShellTest;

void SetMachineValue(const QString& organization, const QString& application, const QString& key, const QString& value)
{
    QSettings settings(QSettings::SystemScope, organization, application);
    settings.setValue(key, value);
    settings.sync();
}

TEST(AdjustTrailingBackslashTest, AddsOrRemovesOneTrailingSeparator)
{
    const QString sep = QDir::separator();
    EXPECT_EQ(AdjustTrailingBackslash(QString(), true), QString());
    EXPECT_EQ(AdjustTrailingBackslash(QString(), false), QString());
    EXPECT_EQ(AdjustTrailingBackslash(QStringLiteral("/opt/common"), true), QStringLiteral("/opt/common") + sep);
    EXPECT_EQ(AdjustTrailingBackslash(QStringLiteral("C:\\Common\\"), true), QStringLiteral("C:\\Common\\"));
    EXPECT_EQ(AdjustTrailingBackslash(QStringLiteral("/opt/common/"), true), QStringLiteral("/opt/common/"));
    EXPECT_EQ(AdjustTrailingBackslash(QStringLiteral("C:\\Common\\"), false), QStringLiteral("C:\\Common"));
    EXPECT_EQ(AdjustTrailingBackslash(QStringLiteral("/opt/common//"), false), QStringLiteral("/opt/common/"));
    EXPECT_EQ(AdjustTrailingBackslash(QStringLiteral("/opt/common"), false), QStringLiteral("/opt/common"));
}

TEST(ListSubdirectoriesTest, ListsVisibleDirectoriesOnlyAndAppends)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("A")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral(".hidden")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("b")));
    WriteTextFile(dir.filePath(QStringLiteral("x.txt")), "x");

    QStringList names{QStringLiteral("vorher")};
    ListSubdirectories(dir.path(), names, true);
    EXPECT_EQ(names, (QStringList{QStringLiteral("vorher"), QStringLiteral("A"), QStringLiteral("b")}));

    QStringList paths;
    ListSubdirectories(dir.path() + QLatin1Char('/'), paths, false);
    EXPECT_EQ(paths, (QStringList{dir.filePath(QStringLiteral("A")), dir.filePath(QStringLiteral("b"))}));

    QStringList none;
    ListSubdirectories(dir.filePath(QStringLiteral("fehlt")), none, true);
    EXPECT_TRUE(none.isEmpty());
}

TEST_F(SupportServicesTest, CommonFilesDirPrefersTheMakersOwnRecord)
{
    EXPECT_EQ(GetCommonFilesDir(), QString());
    EXPECT_EQ(GetSharedDir(), QStringLiteral("QZS Shared"));
    EXPECT_EQ(OpenCompanyKey(QStringLiteral("Paths"), {}, false), nullptr);

    SetMachineValue(QStringLiteral("Microsoft"), QStringLiteral("Windows"),
                    QStringLiteral("CurrentVersion/CommonFilesDir"), QStringLiteral("/opt/system-common"));
    EXPECT_EQ(GetCommonFilesDir(), QStringLiteral("/opt/system-common"));

    SetMachineValue(QStringLiteral("Vellmark Software"), QStringLiteral("Paths"), QStringLiteral("QZCommonFiles"),
                    QStringLiteral("/opt/maker-common/"));
    EXPECT_NE(OpenCompanyKey(QStringLiteral("Paths"), {}, false), nullptr);
    EXPECT_EQ(GetCommonFilesDir(), QStringLiteral("/opt/maker-common/"));
    EXPECT_EQ(GetSharedDir(), QStringLiteral("/opt/maker-common/QZS Shared"));

    SetMachineValue(QStringLiteral("Vellmark Software"), QStringLiteral("Paths"), QStringLiteral("QZCommonFiles"),
                    QStringLiteral("/opt/maker-common"));
    EXPECT_EQ(GetSharedDir(), QStringLiteral("/opt/maker-common") + QDir::separator() + QStringLiteral("QZS Shared"));
}

TEST(ShortStringTest, IsLengthPrefixedAndCutAt255)
{
    const ShortString product("Treeweaver 2.5");
    ASSERT_EQ(product.Data()[0], 14);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(product.Data() + 1), 14), "Treeweaver 2.5");
    EXPECT_EQ(ShortString().Data()[0], 0);
    const ShortString longText(std::string(300, 'x'));
    EXPECT_EQ(longText.Data()[0], 255);
    EXPECT_EQ(longText.Data()[255], 'x');
}

// Library copies under the platform's names in a shared and a program
// directory; the shared directory comes from the maker's settings.
class MakerLibraryTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("common/QZS Shared")));
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("bin")));
        SetMachineValue(QStringLiteral("Vellmark Software"), QStringLiteral("Paths"), QStringLiteral("QZCommonFiles"),
                        dir_.filePath(QStringLiteral("common")));
    }
    QString Shared(const QString& base) const
    {
        return dir_.filePath(QStringLiteral("common/QZS Shared/") + SharedLibraryFileName(base));
    }
    QString Beside(const QString& base) const
    {
        return dir_.filePath(QStringLiteral("bin/") + SharedLibraryFileName(base));
    }
    static bool StillLoaded(const QString& path)
    {
        void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_LAZY | RTLD_NOLOAD);
        if (!handle)
            return false;
        dlclose(handle);
        return true;
    }

    QTemporaryDir dir_;
};

TEST_F(MakerLibraryTest, SharedDirectoryWinsOverTheProgramDirectory)
{
    CopyLibrary(TW_FAKE_MAKER_LIBRARY, Shared(QStringLiteral("infobox")));
    CopyLibrary(TW_FAKE_MAKER_LIBRARY, Beside(QStringLiteral("infobox")));
    CopyLibrary(TW_FAKE_MAKER_LIBRARY, Beside(QStringLiteral("updcheck")));

    MakerLibraries libraries(dir_.filePath(QStringLiteral("bin")));
    ASSERT_TRUE(libraries.LoadInfoLibrary());
    EXPECT_EQ(libraries.InfoLibrary().FileName(), Shared(QStringLiteral("infobox")));
    ASSERT_TRUE(libraries.LoadUpdateLibrary());
    EXPECT_EQ(libraries.UpdateLibrary().FileName(), Beside(QStringLiteral("updcheck")));

    ASSERT_TRUE(libraries.ShowInfoBox(42, QStringLiteral("Treeweaver 2.5"), 7));
    EXPECT_EQ(LastLibraryCall(Shared(QStringLiteral("infobox"))),
              QStringLiteral("info handle [Treeweaver 2.5] [] [] [] handle"));
    ASSERT_TRUE(libraries.ShowUpdateCheck(42));
    EXPECT_EQ(LastLibraryCall(Beside(QStringLiteral("updcheck"))), QStringLiteral("update handle [] [] [tweaver] []"));

    libraries.Unload();
    EXPECT_FALSE(libraries.HasInfoBox());
    EXPECT_FALSE(StillLoaded(Shared(QStringLiteral("infobox"))));
    EXPECT_FALSE(libraries.ShowInfoBox(42, QStringLiteral("Treeweaver 2.5"), 7));
}

TEST_F(MakerLibraryTest, LibraryWithoutEntryPointIsReleasedAndAbsent)
{
    CopyLibrary(TW_FAKE_EMPTY_LIBRARY, Shared(QStringLiteral("updcheck")));
    MakerLibraries libraries(dir_.filePath(QStringLiteral("bin")));
    EXPECT_FALSE(libraries.LoadUpdateLibrary());
    EXPECT_FALSE(libraries.HasUpdateCheck());
    EXPECT_FALSE(StillLoaded(Shared(QStringLiteral("updcheck"))));
    EXPECT_FALSE(libraries.ShowUpdateCheck(42));
    EXPECT_FALSE(libraries.LoadInfoLibrary()); // no file at all
}

TEST(DialogFilterTest, ConvertsProgramFiltersToQtNameFilters)
{
    EXPECT_EQ(QtNameFilters(ProjectOpenFilter),
              (QStringList{QStringLiteral("Alle unterstützten Formate (*.twb *.twf)"),
                           QStringLiteral("Treeweaver Binary File (*.twb)"), QStringLiteral("Treeweaver File (*.twf)"),
                           QStringLiteral("Alle Dateien (*)")}));
    EXPECT_EQ(QtNameFilters(ProjectSaveFilter), (QStringList{QStringLiteral("Treeweaver Binary File V1.1 (*.twb)"),
                                                             QStringLiteral("Treeweaver Binary File (*.twb)"),
                                                             QStringLiteral("Treeweaver File (*.twf)")}));
    EXPECT_EQ(QtNameFilters(HtmlSaveFilter),
              (QStringList{QStringLiteral("HTML (*.htm *.html)"), QStringLiteral("Alle Dateien (*)")}));
}

TEST(SavetwbTest, RewritesTheNameForTheChosenFileType)
{
    EXPECT_EQ(SavetwbFileName(QStringLiteral("menu"), 1), QStringLiteral("menu.twb"));
    EXPECT_EQ(SavetwbFileName(QStringLiteral("menu.twf"), 1), QStringLiteral("menu.twb"));
    EXPECT_EQ(SavetwbFileName(QStringLiteral("menu.twf"), 2), QStringLiteral("menu.twb"));
    EXPECT_EQ(SavetwbFileName(QStringLiteral("menu.twb"), 3), QStringLiteral("menu.twf"));
    EXPECT_EQ(SavetwbFileName(QStringLiteral("MENU.TWB"), 3), QStringLiteral("MENU.twf"));
    EXPECT_EQ(SavetwbFileName(QStringLiteral("menu.htm"), 3), QStringLiteral("menu.htm.twf"));
    EXPECT_EQ(SavetwbFileName(QString(), 3), QString());
    // A dot in a directory name is no extension.
    EXPECT_EQ(SavetwbFileName(QStringLiteral("C:\\web.twb\\menu"), 3), QStringLiteral("C:\\web.twb\\menu.twf"));
    EXPECT_EQ(SavetwbFileName(QStringLiteral("/home/web.twf/menu"), 1), QStringLiteral("/home/web.twf/menu.twb"));
}

TEST(ChangeExtensionTest, ReplacesOnlyTheExtensionOfTheFileName)
{
    EXPECT_EQ(ChangeExtension(QStringLiteral("site/menu.twf"), QStringLiteral(".twb")),
              QStringLiteral("site/menu.twb"));
    EXPECT_EQ(ChangeExtension(QStringLiteral("menu.bak.twb"), QStringLiteral(".htm")), QStringLiteral("menu.bak.htm"));
    EXPECT_EQ(ChangeExtension(QStringLiteral("C:\\web.twb\\menu"), QStringLiteral(".htm")),
              QStringLiteral("C:\\web.twb\\menu.htm"));
    EXPECT_EQ(ChangeExtension(QStringLiteral("D:menü.twf"), QStringLiteral(".twb")), QStringLiteral("D:menü.twb"));
    // Characters outside the document code page stay as they are.
    EXPECT_EQ(ChangeExtension(QStringLiteral("/home/меню.twf"), QStringLiteral(".twb")),
              QStringLiteral("/home/меню.twb"));
}

} // namespace
} // namespace tw::shelltest
