#include "shell_test_support.h"

#include "generator/generator.h"
#include "shell/mainform.h"

#include <QDir>
#include <QListWidget>

namespace tw::shelltest {
namespace {

QStringList Listed(const QListWidget& list)
{
    QStringList names;
    for (int row = 0; row < list.count(); ++row)
        names.append(list.item(row)->text());
    return names;
}

// The template list holds the user's own sets beside the shipped ones, each
// name once.
TEST_F(MainFormTest, TemplateListShowsTheUsersOwnSetsBesideTheShippedOnesOnce)
{
    SetTemplatesDirectory({});
    const QString own = Path(QStringLiteral("daten/treeweaver/Templates/"));
    ASSERT_TRUE(QDir().mkpath(own + QStringLiteral("Eigene")));
    ASSERT_TRUE(QDir().mkpath(own + QStringLiteral("Aufklappend")));
    qputenv("XDG_DATA_HOME", Path(QStringLiteral("daten")).toUtf8());
    qputenv("XDG_DATA_DIRS", Path(QStringLiteral("leer")).toUtf8());
    Form().ListTemplates();
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_DATA_DIRS");

    const QStringList names = Listed(*Form().lbTemplates());
    EXPECT_EQ(names.count(QStringLiteral("Eigene")), 1);
    EXPECT_EQ(names.count(QStringLiteral("Aufklappend")), 1);
    EXPECT_GT(names.size(), 2) << "the shipped sets are listed too";
}

} // namespace
} // namespace tw::shelltest
