#include "shell_test_support.h"

#include "shell/projectfilenames.h"
#include "shell/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tw::shelltest {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QStringList buttons;
};

// Looks at the message box that opens next and lets act close it.
void WhenBoxOpens(SeenBox& seen, std::function<void(QMessageBox&)> act)
{
    QTimer::singleShot(0, [&seen, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        for (QAbstractButton* button : box->buttons())
            seen.buttons.append(button->text());
        seen.buttons.sort();
        act(*box);
    });
}

QAbstractButton* ButtonNamed(QMessageBox& box, const QString& text)
{
    for (QAbstractButton* button : box.buttons()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

TEST(QtDialogsTest, ConfirmationIsTitledBestaetigungWithGermanButtons)
{
    QtDialogs dialogs(QStringLiteral("Treeweaver"));
    SeenBox seen;
    WhenBoxOpens(seen, [](QMessageBox& box) { ButtonNamed(box, QStringLiteral("&Nein"))->click(); });
    EXPECT_EQ(dialogs.Confirm(nullptr, QStringLiteral("Frage?"), true), Answer::No);
    EXPECT_EQ(seen.title, QStringLiteral("Bestätigung"));
    EXPECT_EQ(seen.text, QStringLiteral("Frage?"));
    EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein"), QStringLiteral("Abbrechen")}));

    SeenBox escaped;
    WhenBoxOpens(escaped, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.Confirm(nullptr, QStringLiteral("Frage?"), true), Answer::Cancel);

    SeenBox twoButtons;
    WhenBoxOpens(twoButtons, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(dialogs.Confirm(nullptr, QStringLiteral("Überschreiben?"), false), Answer::No);
    EXPECT_EQ(twoButtons.buttons, (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein")}));

    SeenBox yes;
    WhenBoxOpens(yes, [](QMessageBox& box) { ButtonNamed(box, QStringLiteral("&Ja"))->click(); });
    EXPECT_EQ(dialogs.Confirm(nullptr, QStringLiteral("Überschreiben?"), false), Answer::Yes);
}

TEST(QtDialogsTest, DeletionIsConfirmedOnlyByJaAndShowsItsDetails)
{
    QtDialogs dialogs(QStringLiteral("Treeweaver"));
    SeenBox seen;
    QString details;
    WhenBoxOpens(seen, [&details](QMessageBox& box) {
        details = box.detailedText();
        QTest::keyClick(&box, Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.ConfirmDeletion(nullptr, QStringLiteral("Löschen?"), QStringLiteral("a\nb")), Answer::No);
    EXPECT_EQ(seen.title, QStringLiteral("Bestätigung"));
    EXPECT_EQ(seen.text, QStringLiteral("Löschen?"));
    EXPECT_EQ(details, QStringLiteral("a\nb"));

    SeenBox yes;
    WhenBoxOpens(yes, [](QMessageBox& box) { ButtonNamed(box, QStringLiteral("&Ja"))->click(); });
    EXPECT_EQ(dialogs.ConfirmDeletion(nullptr, QStringLiteral("Löschen?"), {}), Answer::Yes);
}

TEST(QtDialogsTest, MessageIsTitledWithTheProgramTitle)
{
    QtDialogs dialogs(QStringLiteral("Treeweaver"));
    SeenBox seen;
    WhenBoxOpens(seen, [](QMessageBox& box) { box.buttons().constFirst()->click(); });
    dialogs.Message(nullptr, QStringLiteral("Es wurde noch kein Menü erstellt!"));
    EXPECT_EQ(seen.title, QStringLiteral("Treeweaver"));
    EXPECT_EQ(seen.text, QStringLiteral("Es wurde noch kein Menü erstellt!"));
    EXPECT_EQ(seen.buttons.size(), 1);
}

TEST(QtDialogsTest, ANameTypedWithoutExtensionGetsTheOneOfTheSelectedFileType)
{
    QtDialogs dialogs(QStringLiteral("Treeweaver"));
    QTemporaryDir dir;
    SaveRequest request;
    request.filter = ProjectSaveFilter;
    request.filterIndex = 3;
    request.fileName = dir.filePath(QStringLiteral("menu"));
    request.defaultSuffix = ProjectDefaultSuffix;
    request.onFileTypeChange = SavetwbFileName;
    // Types a name into the file-name box of the save dialog that opens
    // next, after pressing Down in its type list typeSteps times.
    const auto whenDialogOpens = [](int typeSteps, const QString& name) {
        QTimer::singleShot(0, [typeSteps, name] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int step = 0; step < typeSteps; ++step)
                QTest::keyClick(types, Qt::Key_Down);
            QCoreApplication::processEvents();
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    };

    whenDialogOpens(0, QStringLiteral("text"));
    auto choice = dialogs.SaveFile(nullptr, request);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, QDir::toNativeSeparators(dir.filePath(QStringLiteral("text.twf"))));
    EXPECT_EQ(choice->filterIndex, 3);

    request.filterIndex = 1;
    whenDialogOpens(2, QStringLiteral("typed"));
    choice = dialogs.SaveFile(nullptr, request);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, QDir::toNativeSeparators(dir.filePath(QStringLiteral("typed.twf"))));
    EXPECT_EQ(choice->filterIndex, 3);

    // A type without extension of its own takes the default extension.
    request = SaveRequest{HtmlSaveFilter, 2, dir.filePath(QStringLiteral("index")), HtmlDefaultSuffix, {}};
    whenDialogOpens(0, QStringLiteral("index"));
    choice = dialogs.SaveFile(nullptr, request);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, QDir::toNativeSeparators(dir.filePath(QStringLiteral("index.htm"))));
}

} // namespace
} // namespace tw::shelltest
