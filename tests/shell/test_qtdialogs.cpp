#include "shell_test_support.h"

#include "shell/qtdialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
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

} // namespace
} // namespace tw::shelltest
