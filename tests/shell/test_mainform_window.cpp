#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "guibase/qtcodec.h"
#include "shell/cdialog.h"
#include "shell/generalpage.h"
#include "shell/mainform.h"
#include "shell/menutreepage.h"
#include "shell/projectfilenames.h"
#include "shell/qtdialogs.h"
#include "shell/variablespage.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace tw::shelltest {
namespace {

using WindowTest = MainFormTest;

// The visible toolbar, captions with "|" for separators.
QStringList VisibleCommands(const QToolBar& bar)
{
    QStringList items;
    for (const QAction* action : bar.actions()) {
        if (action->isVisible())
            items.append(action->isSeparator() ? QStringLiteral("|") : action->text());
    }
    return items;
}

QStringList Tabs(const QTabWidget& tabs)
{
    QStringList names;
    for (int i = 0; i < tabs.count(); ++i)
        names.append(tabs.tabText(i));
    return names;
}

QStringList VariableNames(const TqzHTML& document)
{
    QStringList names;
    for (std::size_t row = 0; row < document.Variables().Count(); ++row)
        names.append(FromCp1252(document.Variables().Caption(row)) +
                     (document.Variables().Data(row).FromTemplate ? QStringLiteral("*") : QString()));
    return names;
}

void ClickTemplate(Tmainform& form, int row)
{
    QListWidget* list = form.lbTemplates();
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

TEST_F(WindowTest, StartsWithTheCommandsPagesAndNoProject)
{
    Tmainform& form = Form();
    EXPECT_EQ(ShownTitle(form), QStringLiteral("Treeweaver"));
    EXPECT_EQ(VisibleCommands(*form.CommandBar()),
              (QStringList{QStringLiteral("Beenden"), QStringLiteral("|"), QStringLiteral("Neu"),
                           QStringLiteral("Öffnen"), QStringLiteral("Speichern"), QStringLiteral("Speichern als"),
                           QStringLiteral("|"), QStringLiteral("Quellcode erstellen"), QStringLiteral("Menü öffnen"),
                           QStringLiteral("In Seiten schreiben…"), QStringLiteral("|"), QStringLiteral("Info")}));
    // Each hint names the command's key.
    const QStringList hints{QStringLiteral("Programm beenden (Strg+Q)"),
                            QStringLiteral("Neu (Strg+N)"),
                            QStringLiteral("Öffnen... (Strg+O)"),
                            QStringLiteral("Speichern (Strg+S)"),
                            QStringLiteral("Speichern unter... (Strg+Umschalt+S)"),
                            QStringLiteral("Menü erstellen (F9)"),
                            QStringLiteral("Menü anzeigen (F5)"),
                            QStringLiteral("Versionskontrolle"),
                            QStringLiteral("Info (F1)")};
    for (int command = 0; command < Tmainform::CommandCount; ++command)
        EXPECT_EQ(form.CommandAction(static_cast<Tmainform::Command>(command))->toolTip(), hints[command]);
    EXPECT_FALSE(form.CommandBar()->isMovable());
    EXPECT_FALSE(form.CommandBar()->isFloatable());
    EXPECT_FALSE(SaveEnabled());

    EXPECT_EQ(Tabs(*form.Pages()), (QStringList{QStringLiteral("Menüstruktur"), QStringLiteral("Menüeinstellungen")}));
    EXPECT_EQ(form.Pages()->currentIndex(), 0);
    EXPECT_EQ(Tabs(*form.SettingsPages()),
              (QStringList{QStringLiteral("Allgemein"), QStringLiteral("Layout"), QStringLiteral("eigene Variablen")}));
    EXPECT_EQ(form.size(), QSize(460, 565));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed size";
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form.Document().Tree().Root().Caption(), "Unbenannt");
    EXPECT_EQ(form.ProjectFormat(), 1);

    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.menuTreePage()->treeView()) << "the keyboard starts in the tree";
}

TEST_F(WindowTest, GeneralPageControlsCarryTheirSettingIndex)
{
    Tmainform& form = Form();
    EXPECT_EQ(Tag(form.lbTemplates()), 1);
    EXPECT_EQ(Tag(form.efilename()), 2);
    EXPECT_EQ(Tag(form.feedit()), 3);
    EXPECT_EQ(form.Button2()->text(), QStringLiteral("Durchsuchen..."));
    EXPECT_EQ(form.efilename()->toolTip(),
              QStringLiteral("Das fertige Menü wird unter diesem Dateinamen gespeichert."));
    EXPECT_EQ(form.lbTemplates()->toolTip(),
              QStringLiteral("Wählen Sie hier die Vorlage aus, aus der das Menü erstellt werden soll."));
    EXPECT_EQ(form.feedit()->toolTip(),
              QStringLiteral("Geben Sie hier die Endung an, die die Dateien mit den Untermenüs haben sollen.\nFalls "
                             "Sie keine Endung angeben, wird die Endung der Hauptdatei benutzt"));

    // Keystroke by keystroke, the whole text goes to the document.
    form.feedit()->setFocus();
    QTest::keyClicks(form.feedit(), QStringLiteral("ph"));
    EXPECT_EQ(form.Document().GetFileSetting(fsFileExt), "ph");
    EXPECT_TRUE(form.Document().Modified());
}

TEST_F(WindowTest, TemplateListShowsTheSetsAndAClickAppliesOne)
{
    Tmainform& form = Form();
    ASSERT_EQ(form.lbTemplates()->count(), 2);
    EXPECT_EQ(form.lbTemplates()->item(0)->text(), QStringLiteral("Simple"));
    EXPECT_EQ(form.lbTemplates()->item(1)->text(), QStringLiteral("Zweite"));
    EXPECT_TRUE(form.lbTemplates()->selectedItems().isEmpty());

    form.show();
    ClickTemplate(form, 0);
    EXPECT_EQ(form.Document().GetFileSetting(fsTemplate), "Simple");
    EXPECT_EQ(VariableNames(form.Document()), (QStringList{QStringLiteral("Farbe*"), QStringLiteral("Breite*")}));
    EXPECT_TRUE(SaveEnabled());

    // Clicking the entry already selected applies it again.
    form.Document().SetModified(false);
    ClickTemplate(form, 0);
    EXPECT_TRUE(form.Document().Modified());

    // Moving through the list with the keyboard applies the entry reached,
    // the first key the first entry; merely entering the list changes
    // nothing.
    form.Document().SetModified(false);
    form.lbTemplates()->clearSelection();
    form.lbTemplates()->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.lbTemplates()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(form.lbTemplates()->hasFocus());
    EXPECT_FALSE(form.Document().Modified());
    EXPECT_EQ(form.Document().GetFileSetting(fsTemplate), "Simple");
    QTest::keyClick(form.lbTemplates(), Qt::Key_Down);
    EXPECT_EQ(form.Document().GetFileSetting(fsTemplate), "Simple");
    EXPECT_TRUE(form.Document().Modified());
    QTest::keyClick(form.lbTemplates(), Qt::Key_Down);
    EXPECT_EQ(form.Document().GetFileSetting(fsTemplate), "Zweite");
    EXPECT_EQ(VariableNames(form.Document()), (QStringList{QStringLiteral("Farbe"), QStringLiteral("Breite")}));
}

TEST_F(WindowTest, OpenSelectsTheProjectsTemplateInAnyCase)
{
    Tmainform& form = Form();
    form.efilename()->setText(Path(QStringLiteral("index.htm")));
    form.Document().SetFileSetting(fsTemplate, "sIMPLE");
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("p.twf")), 3});
    form.SaveAsClick();
    form.Document().SetFileSetting(fsTemplate, "Fehlt");
    dialogs_.saveAnswers.push_back(SaveChoice{Path(QStringLiteral("q.twf")), 3});
    form.SaveAsClick();

    dialogs_.openAnswers.push_back(Path(QStringLiteral("p.twf")));
    form.OpenClick();
    ASSERT_EQ(form.lbTemplates()->selectedItems().size(), 1);
    EXPECT_EQ(form.lbTemplates()->selectedItems()[0]->text(), QStringLiteral("Simple"));
    EXPECT_EQ(form.Document().GetFileSetting(fsTemplate), "sIMPLE");
    EXPECT_EQ(VariableNames(form.Document()), (QStringList{QStringLiteral("Farbe*"), QStringLiteral("Breite*")}));
    // The template's variables were added as rows, which is a change.
    EXPECT_TRUE(form.Document().Modified());

    dialogs_.answers = {Answer::No};
    dialogs_.openAnswers.push_back(Path(QStringLiteral("q.twf")));
    form.OpenClick();
    EXPECT_TRUE(form.lbTemplates()->selectedItems().isEmpty());
    EXPECT_EQ(form.Document().GetFileSetting(fsTemplate), "Fehlt");
    EXPECT_FALSE(form.Document().Modified());
}

TEST_F(WindowTest, WindowValuesAreRestoredAndWrittenOnClosing)
{
    {
        QSettings settings(QSettings::UserScope, QStringLiteral("Vellmark Software"), QStringLiteral("Treeweaver"));
        settings.setValue(QStringLiteral("FormSettings/Left"), 33);
        settings.setValue(QStringLiteral("FormSettings/Top"), 44);
        settings.setValue(QStringLiteral("FormSettings/ColVarNameWidth"), 120);
        settings.setValue(QStringLiteral("FormSettings/LayoutWidth"), 140);
    }
    Tmainform& form = Form();
    EXPECT_EQ(form.pos(), QPoint(33, 44));
    EXPECT_EQ(form.variablesPage()->columnWidths().name, 120);
    EXPECT_EQ(form.variablesPage()->columnWidths().value, 320);

    form.variablesPage()->setColumnWidths(150, 250);
    form.move(70, 80);
    ASSERT_TRUE(form.close());
    QSettings settings(QSettings::UserScope, QStringLiteral("Vellmark Software"), QStringLiteral("Treeweaver"));
    settings.beginGroup(QStringLiteral("FormSettings"));
    EXPECT_EQ(settings.value(QStringLiteral("Left")).toInt(), 70);
    EXPECT_EQ(settings.value(QStringLiteral("Top")).toInt(), 80);
    EXPECT_EQ(settings.value(QStringLiteral("LayoutWidth")).toInt(), 140);
    EXPECT_EQ(settings.value(QStringLiteral("ColVarNameWidth")).toInt(), 150);
    EXPECT_EQ(settings.value(QStringLiteral("ColVarTextWidth")).toInt(), 250);
}

TEST_F(WindowTest, CancelledClosingWritesNoValues)
{
    EditSomething();
    dialogs_.answers = {Answer::Cancel};
    EXPECT_FALSE(Form().close());
    QSettings settings(QSettings::UserScope, QStringLiteral("Vellmark Software"), QStringLiteral("Treeweaver"));
    EXPECT_TRUE(settings.allKeys().isEmpty());
}

TEST_F(WindowTest, ClosingSaysWhenTheWindowValuesCannotBeWritten)
{
    Tmainform& form = Form();
    const QString file =
        QSettings(QSettings::UserScope, QStringLiteral("Vellmark Software"), QStringLiteral("Treeweaver")).fileName();
    // A folder where the file belongs keeps everyone from writing it, root too.
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file));
    const auto removeFolder = qScopeGuard([&file] { QDir(file).removeRecursively(); });
    ASSERT_TRUE(form.close());
    ASSERT_EQ(dialogs_.calls.size(), 1u);
    EXPECT_EQ(dialogs_.calls[0].kind, DialogCall::Message);
    EXPECT_EQ(dialogs_.calls[0].text, QStringLiteral("Die Fenstereinstellungen konnten nicht gespeichert werden: "
                                                     "Die Datei „%1“ lässt sich nicht schreiben.")
                                          .arg(file));
}

TEST_F(WindowTest, WithoutMakerLibrariesInfoShowsANoticeAndVersionCheckIsHidden)
{
    Tmainform& form = Form();
    EXPECT_FALSE(form.CommandAction(Tmainform::cmdVersionCheck)->isVisible());
    EXPECT_FALSE(form.VersionCheckSeparator()->isVisible());
    form.InfoClick();
    const QStringList messages = dialogs_.TextsOf(DialogCall::Message);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Treeweaver 2.5")));
    EXPECT_TRUE(messages[0].contains(QStringLiteral("Vellmark Software")));
}

TEST_F(WindowTest, MakerLibrariesBesideTheProgramAreCalled)
{
    const QString info = ProgramDir() + QLatin1Char('/') + SharedLibraryFileName(QStringLiteral("infobox"));
    const QString update = ProgramDir() + QLatin1Char('/') + SharedLibraryFileName(QStringLiteral("updcheck"));
    CopyLibrary(TW_FAKE_MAKER_LIBRARY, info);
    CopyLibrary(TW_FAKE_MAKER_LIBRARY, update);
    Tmainform& form = Form();
    EXPECT_TRUE(form.CommandAction(Tmainform::cmdVersionCheck)->isVisible());
    EXPECT_TRUE(form.VersionCheckSeparator()->isVisible());
    EXPECT_EQ(VisibleCommands(*form.CommandBar()).mid(7),
              (QStringList{QStringLiteral("Quellcode erstellen"), QStringLiteral("Menü öffnen"),
                           QStringLiteral("In Seiten schreiben…"), QStringLiteral("|"),
                           QStringLiteral("Version prüfen"), QStringLiteral("|"), QStringLiteral("Info")}));

    form.CommandAction(Tmainform::cmdInfo)->trigger();
    EXPECT_EQ(LastLibraryCall(info), QStringLiteral("info handle [Treeweaver 2.5] [] [] [] handle"));
    form.CommandAction(Tmainform::cmdVersionCheck)->trigger();
    EXPECT_EQ(LastLibraryCall(update), QStringLiteral("update handle [] [] [tweaver] []"));
    EXPECT_TRUE(dialogs_.calls.empty());
}

// Qt's own save dialog, driven like a user: picking another file type
// rewrites the name the way the program wants, not the way Qt would.
TEST_F(WindowTest, SaveDialogRewritesTheNameOnFileTypeChanges)
{
    QtDialogs dialogs(QStringLiteral("Treeweaver"));
    QStringList seen;
    QTimer::singleShot(0, [&seen, this] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(name, nullptr);
        ASSERT_NE(types, nullptr);
        const auto pick = [&](int type, const QString& typed) {
            if (!typed.isNull())
                name->setText(typed);
            types->setFocus();
            QTest::keyClick(types, type > types->currentIndex() + 1 ? Qt::Key_Down : Qt::Key_Up);
            QCoreApplication::processEvents();
            seen.append(name->text());
        };
        seen.append(name->text());
        pick(2, QStringLiteral("menu"));
        pick(3, QString());
        pick(2, QStringLiteral("menu.htm"));
        pick(3, QStringLiteral("projekt.TWB"));
        pick(2, QString());
        dialog->reject();
    });
    SaveRequest request;
    request.filter = QStringLiteral("Treeweaver Binary File V1.1(*.twb)|*.twb|Treeweaver Binary File (*.twb)|*.twb|"
                                    "Treeweaver File (*.twf)|*.twf");
    request.filterIndex = 1;
    request.fileName = Path(QStringLiteral("start.twb"));
    request.defaultSuffix = QStringLiteral("twb");
    request.onFileTypeChange = SavetwbFileName;
    EXPECT_FALSE(dialogs.SaveFile(nullptr, request).has_value());
    EXPECT_EQ(seen, (QStringList{QStringLiteral("start.twb"), QStringLiteral("menu.twb"), QStringLiteral("menu.twf"),
                                 QStringLiteral("menu.htm.twb"), QStringLiteral("projekt.twf"),
                                 QStringLiteral("projekt.twb")}));
}

} // namespace
} // namespace tw::shelltest
