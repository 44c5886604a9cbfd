#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/qtcodec.h"
#include "inspector/gridtreeview.h"
#include "inspector/mybutton.h"
#include "inspector/tddlist_u.h"
#include "shell/layoutpage.h"
#include "shell/mainform.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

namespace tw::shelltest {
namespace {

// Every layout setting made in the window alone, saved in both formats,
// reopened and generated.
class LayoutWorkflowTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetTemplatesDirectory({});
        Form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
        Form().Pages()->setCurrentWidget(Form().SettingsPages());
        Form().SettingsPages()->setCurrentWidget(Form().layoutPage());
    }

    GridTreeView& Grid() { return *Form().layoutPage()->Controls().tree; }
    QLineEdit& Editor() { return *Form().layoutPage()->Controls().editor; }
    void Run(Tmainform::Command command) { Form().CommandAction(command)->trigger(); }
    static Tddlist* OpenChoiceList()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* list = qobject_cast<Tddlist*>(widget); list && list->isVisible())
                return list;
        }
        return nullptr;
    }

    void Select(const QString& caption, const QString& group = {}) { ClickLayoutRow(Grid(), caption, group); }
    void Type(const QString& text)
    {
        Editor().selectAll();
        QTest::keyClicks(&Editor(), text);
    }
    void ExpectLayout(const TqzHTML& document, const std::string& font)
    {
        EXPECT_EQ(document.GetColor(ciText), 0x996633u);
        EXPECT_EQ(document.GetString(siFont), font);
        EXPECT_EQ(document.GetString(siTitle), "Unser Laden");
        EXPECT_EQ(document.GetString(siBackgroundImage), "img/papier.gif");
    }
};

TEST_F(LayoutWorkflowTest, SetSaveReopenAndGenerateTheLayout)
{
    Form().efilename()->setText(Path(QStringLiteral("index.htm")));
    Select(QStringLiteral("Text"), QStringLiteral("Farben"));
    QTest::keyClicks(&Editor(), QStringLiteral("336699"));
    QTest::keyClick(&Editor(), Qt::Key_Return);

    Select(QStringLiteral("Schrift(en)"), QStringLiteral("Menüpunkt"));
    QTest::mouseClick(Form().layoutPage()->Controls().button, Qt::LeftButton);
    Tddlist* list = OpenChoiceList();
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->ListBox1()->count(), 1);
    list->ListBox1()->setCurrentRow(1);
    const QString font = list->ListBox1()->currentItem()->text();
    QTest::keyClick(list->ListBox1(), Qt::Key_Return);
    EXPECT_EQ(Editor().text(), font);
    EXPECT_EQ(QApplication::focusWidget(), &Editor());

    // Leaving the row takes the font; the title is still being typed when
    // the picture is chosen, and Enter takes it there.
    Select(QStringLiteral("Titel"));
    Type(QStringLiteral("Unser Laden"));
    QTest::keyClick(&Editor(), Qt::Key_Down);
    QCoreApplication::processEvents();
    Select(QStringLiteral("Hintergrundbild"));
    dialogs_.openAnswers.push_back(Path(QStringLiteral("img/papier.gif")));
    QTest::mouseClick(Form().layoutPage()->Controls().button, Qt::LeftButton);
    ASSERT_EQ(Editor().text(), QStringLiteral("img/papier.gif"));
    EXPECT_EQ(Form().Document().GetString(siFont), ToCp1252(font));
    EXPECT_EQ(Form().Document().GetString(siTitle), "Unser Laden");
    // The chooser commits nothing; saving takes what the editor holds.
    EXPECT_EQ(Form().Document().GetString(siBackgroundImage), "");

    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("laden.twf")), 3});
    Run(Tmainform::cmdSaveAs);
    ExpectLayout(Form().Document(), ToCp1252(font));
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("laden.twb")), 1});
    Run(Tmainform::cmdSaveAs);
    ASSERT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty())
        << dialogs_.TextsOf(DialogCall::Message).join(QLatin1Char('\n')).toStdString();

    for (const char* name : {"laden.twf", "laden.twb"}) {
        Run(Tmainform::cmdNew);
        EXPECT_EQ(Form().Document().GetString(siTitle), "");
        dialogs_.openAnswers.push_back(Path(QString::fromLatin1(name)));
        Run(Tmainform::cmdOpen);
        ExpectLayout(Form().Document(), ToCp1252(font));
        // The editor shows the reopened project's value, not the one before.
        EXPECT_EQ(Editor().text(), QStringLiteral("img/papier.gif"));
    }

    Form().SettingsPages()->setCurrentIndex(0);
    const QList<QListWidgetItem*> komplett =
        Form().lbTemplates()->findItems(QStringLiteral("Komplett"), Qt::MatchExactly);
    ASSERT_EQ(komplett.size(), 1);
    QTest::mouseClick(Form().lbTemplates()->viewport(), Qt::LeftButton, {},
                      Form().lbTemplates()->visualItemRect(komplett[0]).center());
    Run(Tmainform::cmdGenerate);
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty());
    const QByteArray page = ReadTextFile(Path(QStringLiteral("index.htm")));
    const QByteArray expectedTexts[] = {"#336699", "Unser Laden", "img/papier.gif", ToCp1252(font).c_str()};
    for (const QByteArray& expected : expectedTexts)
        EXPECT_TRUE(page.contains(expected)) << expected.toStdString();
}

} // namespace
} // namespace tw::shelltest
