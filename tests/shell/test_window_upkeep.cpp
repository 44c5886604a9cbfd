#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "guibase/qtcodec.h"
#include "inspector/chooserlists.h"
#include "inspector/tflathintunit.h"
#include "platform/files.h"
#include "projectfiles/binaryformat.h"
#include "projectfiles/projectfiles.h"
#include "shell/documenteditor.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace tw::shelltest {
namespace {

class WindowUpkeepTest : public MainFormTest {};

TEST_F(WindowUpkeepTest, TemplateListFollowsItsFoldersWhileTheProgramRuns)
{
    QListWidget* list = Form().lbTemplates();
    ASSERT_EQ(list->count(), 2);
    ASSERT_TRUE(QDir(Path(QStringLiteral("Templates"))).mkdir(QStringLiteral("Dritte")));
    EXPECT_TRUE(QTest::qWaitFor([list] { return list->count() == 3; }, 5000));
    ASSERT_TRUE(QDir(Path(QStringLiteral("Templates/Zweite"))).removeRecursively());
    EXPECT_TRUE(QTest::qWaitFor([list] { return list->count() == 2; }, 5000));
    EXPECT_FALSE(Form().Document().Modified()) << "listing applies no set";
}

// Undoing the deletion of an item brings its subtree back open as it was.
TEST_F(WindowUpkeepTest, UndoneDeletionShowsTheSubtreeAsItWasShown)
{
    DocumentEditor& editor = Form().Editor();
    MenuNode& root = Form().Document().Tree().Root();
    MenuNode& a = editor.AddItem(root, "A");
    MenuNode& b = editor.AddItem(a, "B");
    MenuNode& c = editor.AddItem(a, "C");
    editor.AddItem(b, "B1");
    editor.AddItem(c, "C1");
    MenuTreePage& page = *Form().menuTreePage();
    QTreeView& tree = *page.treeView();
    tree.expand(page.model()->indexOf(&a));
    tree.expand(page.model()->indexOf(&b));
    tree.collapse(page.model()->indexOf(&c));
    editor.DeleteItem(a);
    editor.Undo();
    EXPECT_TRUE(tree.isExpanded(page.model()->indexOf(&a)));
    EXPECT_TRUE(tree.isExpanded(page.model()->indexOf(&b)));
    EXPECT_FALSE(tree.isExpanded(page.model()->indexOf(&c)));
}

// A position stored near the bottom of the screen keeps the title bar and
// the whole window on it.
TEST_F(WindowUpkeepTest, RestoredWindowLiesWhollyOnTheScreenTitleBarIncluded)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    {
        QSettings settings(QSettings::UserScope, QStringLiteral("Vellmark Software"), QStringLiteral("Treeweaver"));
        settings.setValue(QStringLiteral("FormSettings/Left"), available.left());
        settings.setValue(QStringLiteral("FormSettings/Top"), available.bottom() + 1 - 565);
    }
    Tmainform& form = Form();
    const int titleBar = form.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    EXPECT_LE(form.y() + titleBar + 565, available.bottom() + 1);
    EXPECT_GE(form.y(), available.top());
}

// A larger tooltip font of the user's reaches the hints, and their boxes
// widen with it.
TEST_F(WindowUpkeepTest, HintsTakeTheUsersTooltipFont)
{
    const QFont before = QToolTip::font();
    QFont large = before;
    large.setPixelSize(22);
    QToolTip::setFont(large);
    const TFlatHint* hint = Form().findChild<TFlatHint*>();
    QToolTip::setFont(before);
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->Font().pixelSize(), 22);
    EXPECT_EQ(hint->MaxHintWidth(), 400);
}

// Loading a project tells the window of its state once, not once per
// variable read: with tens of thousands of variables every title change
// costs the window manager a round trip.
TEST_F(WindowUpkeepTest, LoadingManyVariablesChangesTheTitleOnce)
{
    TqzHTML document;
    for (int i = 0; i < 3000; ++i)
        document.Variables().AddVariable("v" + std::to_string(i), "x", false);
    const QString path = Path(QStringLiteral("viele.twb"));
    WriteFileAtomically(ToCp1252(path), BinaryProjectBytes(document, pfBinaryV11));

    struct TitleChanges : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            count += event->type() == QEvent::ModifiedChange || event->type() == QEvent::WindowTitleChange;
            return false;
        }
    } changes;
    Form().installEventFilter(&changes);
    Form().OpenProject(path);
    Form().removeEventFilter(&changes);
    EXPECT_EQ(Form().Document().Variables().Count(), 3000u);
    EXPECT_LE(changes.count, 3);
}

TEST(FontNamesTest, FamiliesAreNamedWithoutTheirFoundry)
{
    EXPECT_EQ(CssFamilyName(QStringLiteral("C059 [urw]")), QStringLiteral("C059"));
    EXPECT_EQ(CssFamilyName(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
    const QStringList names = FontFamilyNames();
    for (const QString& name : names)
        EXPECT_FALSE(name.contains(u'[')) << name.toStdString();
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
}

// A short message still shows its whole title.
TEST(MessageBoxTest, ShortMessageIsWideEnoughForItsTitle)
{
    QtDialogs dialogs(QStringLiteral("Treeweaver"));
    int width = 0;
    QTimer::singleShot(0, [&width] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        width = box->width();
        box->buttons().constFirst()->click();
    });
    dialogs.Message(nullptr, QStringLiteral("Ungültiger Wert!"));
    QFont bold = QApplication::font("QMdiSubWindowTitleBar");
    bold.setBold(true);
    EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(QStringLiteral("Treeweaver")) +
                         6 * QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
}

} // namespace
} // namespace tw::shelltest
