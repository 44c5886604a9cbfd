#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "shell/mainform.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>

namespace tw::shelltest {
namespace {

// The shipped example, opened and generated through the window with the
// shipped template sets beside the test program.
class ExampleProjectTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetTemplatesDirectory({});
    }
};

TEST_F(ExampleProjectTest, OpensAndGeneratesAWorkingMenu)
{
    Tmainform& form = Form();
    dialogs_.openAnswers.push_back(QStringLiteral(TW_EXAMPLES_DIR "/lindenhof.twf"));
    form.OpenClick();
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty());
    EXPECT_EQ(ShownTitle(form), QStringLiteral("lindenhof.twf - Treeweaver"));
    EXPECT_EQ(form.Document().Tree().Count(), 11u);
    ASSERT_EQ(form.lbTemplates()->selectedItems().size(), 1);
    EXPECT_EQ(form.lbTemplates()->selectedItems()[0]->text(), QStringLiteral("Aufklappend"));

    form.efilename()->setText(Path(QStringLiteral("index.htm")));
    form.CommandAction(Tmainform::cmdGenerate)->trigger();
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty())
        << dialogs_.TextsOf(DialogCall::Message).join(QLatin1Char('\n')).toStdString();
    const QByteArray main = ReadTextFile(Path(QStringLiteral("index.htm")));
    EXPECT_TRUE(main.contains("G\xE4rtnerei Lindenhof"));
    EXPECT_TRUE(main.contains("href=\"kontakt.htm\""));
    EXPECT_TRUE(main.contains("href=\"Child2.htm\""));
    // One file per submenu that opens: "Pflanzen" and "Service".
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("Child2.htm"))));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("Child3.htm"))));
    EXPECT_TRUE(ReadTextFile(Path(QStringLiteral("Child2.htm"))).contains("stauden.htm"));

    // "Menü öffnen" hands the written main file to the desktop.
    form.CommandAction(Tmainform::cmdOpenMenu)->trigger();
    EXPECT_EQ(opener_.opened, QStringList{Path(QStringLiteral("index.htm"))});
}

} // namespace
} // namespace tw::shelltest
