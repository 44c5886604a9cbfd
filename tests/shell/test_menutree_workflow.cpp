#include "shell_test_support.h"
#include "support/test_support.h"
#include "test_menutree_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/qtcodec.h"
#include "projectfiles/projectfiles.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/variablespage.h"
#include "shell/varlistmodel.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace tw::shelltest {
namespace {

// A new user's whole session in the window, with the shipped template sets:
// a menu of three levels with links and targets, variables, save, reopen,
// generate.
class MenuWorkflowTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        SetTemplatesDirectory({});
        Form().resize(640, 480);
        Form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
    }

    MenuTreePage& Tree() { return *Form().menuTreePage(); }
    VariablesPage& Variables() { return *Form().variablesPage(); }
    void Run(Tmainform::Command command) { Form().CommandAction(command)->trigger(); }

    void WaitForSelectionReport()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Tree().selectionReportPending(); }, 2000));
    }
    void ClickNode(const MenuNode& node)
    {
        DragTreeView& view = *Tree().treeView();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                          view.visualRect(Tree().model()->indexOf(&node)).center());
        WaitForSelectionReport();
    }
    // Runs an item command that edits a caption in place and types caption
    // into the editor, without accepting it.
    QLineEdit* TypeCaption(MenuTreePage::Command command, const QString& caption)
    {
        Tree().toolbarAction(command)->trigger();
        DragTreeView& view = *Tree().treeView();
        auto* editor = qobject_cast<QLineEdit*>(view.indexWidget(view.currentIndex()));
        EXPECT_NE(editor, nullptr) << "a caption is being edited";
        if (editor != nullptr) {
            editor->selectAll();
            QTest::keyClicks(editor, caption);
        }
        return editor;
    }
    // Runs an item command and types the caption of the new item.
    void AddNamedItem(MenuTreePage::Command command, const QString& caption)
    {
        QLineEdit* editor = TypeCaption(command, caption);
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        WaitForSelectionReport();
    }
    void TypeLink(const QString& link, const QString& target)
    {
        for (auto [edit, text] : {std::pair{Tree().menulink(), link}, std::pair{Tree().linktarget(), target}}) {
            edit->selectAll();
            QTest::keyClicks(edit, text);
        }
        QTest::mouseClick(Tree().BitBtn1(), Qt::LeftButton);
    }

    int RowOf(const char* name)
    {
        int row = -1;
        EXPECT_TRUE(Form().Document().Variables().FindVariable(name, row)) << name;
        return row;
    }
    void ClickVariable(int row)
    {
        DragTreeView& list = *Variables().listView();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualRect(Variables().model()->index(row, 0)).center());
    }
    void ChangeVariable(int row, const QString& name, const QString& value)
    {
        ClickVariable(row);
        WhenTheDialogShows([name, value](Tvlistform& form) {
            if (!name.isNull()) {
                form.nameEdit()->selectAll();
                QTest::keyClicks(form.nameEdit(), name);
            }
            form.valueEdit()->setPlainText(value);
            QTest::mouseClick(form.okButton(), Qt::LeftButton);
        });
        Variables().toolbarAction(VariablesPage::ChangeCommand)->trigger();
    }

    // Every generated page of the output directory, one after the other.
    QByteArray AllGeneratedPages() const
    {
        QByteArray all;
        for (const QString& name : QDir(dir_.path()).entryList({QStringLiteral("*.htm")}, QDir::Files))
            all += ReadTextFile(Path(name));
        return all;
    }
};

TEST_F(MenuWorkflowTest, BuildSaveReopenAndGenerateAThreeLevelMenu)
{
    AddNamedItem(MenuTreePage::AddCommand, QStringLiteral("Start"));
    TypeLink(QStringLiteral("start.htm"), QStringLiteral("inhalt"));
    AddNamedItem(MenuTreePage::SubMenuCommand, QStringLiteral("Produkte"));
    TypeLink(QStringLiteral("produkte.htm"), QStringLiteral("inhalt"));
    AddNamedItem(MenuTreePage::SubMenuCommand, QStringLiteral("Schrauben"));
    TypeLink(QStringLiteral("produkte/schrauben.htm"), QStringLiteral("_top"));
    const MenuNode& start = *Form().Document().Tree().Root().Child(0);
    ClickNode(start);
    AddNamedItem(MenuTreePage::AddCommand, QStringLiteral("Kontakt"));
    TypeLink(QStringLiteral("kontakt.htm"), QStringLiteral("inhalt"));

    Form().Pages()->setCurrentWidget(Form().SettingsPages());
    Form().SettingsPages()->setCurrentIndex(0);
    QListWidget& templates = *Form().lbTemplates();
    const QList<QListWidgetItem*> rahmen = templates.findItems(QStringLiteral("Rahmen"), Qt::MatchExactly);
    ASSERT_EQ(rahmen.size(), 1);
    QTest::mouseClick(templates.viewport(), Qt::LeftButton, {}, templates.visualItemRect(rahmen[0]).center());
    Form().efilename()->setText(Path(QStringLiteral("index.htm")));

    Form().SettingsPages()->setCurrentWidget(&Variables());
    ChangeVariable(RowOf("Kopfzeile"), {}, QStringLiteral("Willkommen im Laden"));
    Variables().toolbarAction(VariablesPage::AddCommand)->trigger();
    ChangeVariable(RowOf("Variable"), QStringLiteral("Autor"), QStringLiteral("Erika\nMustermann"));
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty());

    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("laden.twb")), 1});
    Run(Tmainform::cmdSaveAs);
    EXPECT_FALSE(SaveEnabled());
    Run(Tmainform::cmdNew);
    EXPECT_EQ(Form().Document().Tree().Count(), 1u);
    EXPECT_EQ(Form().Document().Variables().Count(), 0u);

    dialogs_.openAnswers.push_back(Path(QStringLiteral("laden.twb")));
    Run(Tmainform::cmdOpen);
    ASSERT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty())
        << dialogs_.TextsOf(DialogCall::Message).join(QLatin1Char('\n')).toStdString();
    const MenuNode& root = Form().Document().Tree().Root();
    ASSERT_EQ(ChildCaptions(root), (std::vector<std::string>{"Start", "Kontakt"}));
    EXPECT_EQ(root.Child(0)->Item()->Link, "start.htm");
    EXPECT_EQ(root.Child(0)->Item()->Target, "inhalt");
    const MenuNode& produkte = *root.Child(0)->Child(0);
    ASSERT_EQ(ChildCaptions(produkte), (std::vector<std::string>{"Schrauben"}));
    EXPECT_EQ(produkte.Child(0)->Item()->Link, "produkte/schrauben.htm");
    EXPECT_EQ(produkte.Child(0)->Item()->Target, "_top");
    const TParseList& variables = Form().Document().Variables();
    EXPECT_TRUE(variables.Data(static_cast<std::size_t>(RowOf("Kopfzeile"))).FromTemplate);
    EXPECT_EQ(variables.Data(static_cast<std::size_t>(RowOf("Autor"))).Value, "Erika\r\nMustermann");
    ASSERT_EQ(templates.selectedItems().size(), 1);
    EXPECT_EQ(templates.selectedItems()[0]->text(), QStringLiteral("Rahmen"));

    Run(Tmainform::cmdGenerate);
    EXPECT_TRUE(dialogs_.TextsOf(DialogCall::Message).isEmpty())
        << dialogs_.TextsOf(DialogCall::Message).join(QLatin1Char('\n')).toStdString();
    const QByteArray main = ReadTextFile(Path(QStringLiteral("index.htm")));
    EXPECT_TRUE(main.contains("Willkommen im Laden"));
    // Items with a submenu open it in the menu's own frame.
    EXPECT_TRUE(main.contains(">Start</a>"));
    EXPECT_TRUE(main.contains("href=\"kontakt.htm\" target=\"inhalt\">Kontakt<"));
    const QByteArray pages = AllGeneratedPages();
    EXPECT_TRUE(pages.contains(">Produkte</a>"));
    EXPECT_TRUE(pages.contains("href=\"produkte/schrauben.htm\" target=\"_top\">Schrauben<"));
}

TEST_F(MenuWorkflowTest, ACaptionStillBeingTypedIsTakenByTheWindowsCommands)
{
    AddNamedItem(MenuTreePage::AddCommand, QStringLiteral("Start"));
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("menu.twb")), 1});
    Run(Tmainform::cmdSaveAs);
    EditSomething();
    ASSERT_NE(TypeCaption(MenuTreePage::RenameCommand, QStringLiteral("Home")), nullptr);
    Run(Tmainform::cmdSave);
    TqzHTML saved;
    int format = 0;
    test::RecordedMessages messages;
    ASSERT_TRUE(LoadProject(saved, ToCp1252(Path(QStringLiteral("menu.twb"))), format, messages));
    EXPECT_EQ(ChildCaptions(saved.Tree().Root()), std::vector<std::string>{"Home"});

    // Nothing else is changed: closing asks because of the caption alone.
    ASSERT_FALSE(SaveEnabled());
    ASSERT_NE(TypeCaption(MenuTreePage::RenameCommand, QStringLiteral("Anfang")), nullptr);
    dialogs_.answers = {Answer::Cancel};
    EXPECT_FALSE(Form().close());
    EXPECT_EQ(dialogs_.CallsOf(DialogCall::Confirm).size(), 1u);
    EXPECT_EQ(Form().Document().Tree().Root().Child(0)->Caption(), "Anfang");
}

} // namespace
} // namespace tw::shelltest
