#include "document/varlist.h"
#include "shell/vlistdlg.h"
#include "shell_test_support.h"
#include "test_menutree_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace tw {
namespace {

using shelltest::DialogCall;
using shelltest::ScriptedDialogs;
using shelltest::WhenTheDialogShows;

class VariableDialogTest : public ::testing::Test {
protected:
    VariableDialogTest()
    {
        for (const char* name : {"Titel", "Farbe",
                                 "Gr\xF6\xDF"
                                 "e"})
            list.AddVariable(name, "", false);
    }

    // The dialog for row 1 ("Farbe"), shown without its own event loop.
    std::unique_ptr<Tvlistform> ShowForm(const std::string& name = "Farbe", const std::string& value = "")
    {
        auto form = std::make_unique<Tvlistform>(dialogs, list, 1);
        form->setVariable(name, value);
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
    QStringList Messages() const { return dialogs.TextsOf(DialogCall::Message); }

    ScriptedDialogs dialogs;
    TParseList list{[] {}};
};

TEST_F(VariableDialogTest, ControlsSitWhereTheyBelong)
{
    Tvlistform form(dialogs, list, 0);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Ändern"));
    EXPECT_EQ(form.size(), QSize(240, 206));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.nameEdit()->y(), 8);
    EXPECT_EQ(form.nameEdit()->geometry().right(), 220) << "the closing \"$\" follows at 224";
    // "Variable:", "$" and the name field do not run together.
    const QList<QLabel*> all = form.findChildren<QLabel*>();
    const auto labelOf = [&all](const QString& text) {
        return *std::find_if(all.begin(), all.end(), [&](const QLabel* label) { return label->text() == text; });
    };
    const QLabel* dollar = labelOf(QStringLiteral("$"));
    EXPECT_GT(dollar->x(), labelOf(QStringLiteral("Variable:"))->geometry().right());
    EXPECT_GT(form.nameEdit()->x(), dollar->geometry().right());
    EXPECT_EQ(form.valueEdit()->geometry(), QRect(48, 40, 187, 129));
    EXPECT_EQ(form.clearButton()->pos(), QPoint(2, 176));
    EXPECT_EQ(form.okButton()->pos(), QPoint(82, 176));
    EXPECT_EQ(form.cancelButton()->pos(), QPoint(162, 176));
    EXPECT_EQ(form.clearButton()->text(), QStringLiteral("Löschen"));
    EXPECT_EQ(form.okButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(form.cancelButton()->text(), QStringLiteral("Abbrechen"));

    std::map<QString, QPoint> labels;
    for (const QLabel* label : form.findChildren<QLabel*>())
        labels.emplace(label->text() + QString::number(label->x()), label->pos());
    EXPECT_EQ(labels.at(QStringLiteral("Variable:4")), QPoint(4, 11));
    EXPECT_EQ(labels.at(QStringLiteral("$224")), QPoint(224, 11));
    EXPECT_EQ(labels.at(QStringLiteral("Wert:4")), QPoint(4, 43));

    // "OK" is the one default button; focus does not make another one.
    for (const QPushButton* button : form.findChildren<QPushButton*>()) {
        EXPECT_EQ(button->isDefault(), button == form.okButton());
        EXPECT_FALSE(button->autoDefault());
    }
}

TEST_F(VariableDialogTest, TabWalksNameValueOkCancelClear)
{
    auto form = ShowForm();
    EXPECT_EQ(QApplication::focusWidget(), form->nameEdit());
    const std::vector<QWidget*> order = {form->valueEdit(), form->okButton(), form->cancelButton(), form->clearButton(),
                                         form->nameEdit()};
    for (QWidget* expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->metaObject()->className();
    }
}

TEST_F(VariableDialogTest, ATemplateNameIsReadOnlyGreyAndOutOfTheTabOrder)
{
    auto form = std::make_unique<Tvlistform>(dialogs, list, 1);
    form->setNameEditable(false);
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_TRUE(form->nameEdit()->isReadOnly());
    EXPECT_EQ(form->nameEdit()->palette().color(QPalette::Base), form->palette().color(QPalette::Button));
    EXPECT_EQ(QApplication::focusWidget(), form->valueEdit());
    for (int step = 0; step < 5; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), form->nameEdit());
    }
}

TEST_F(VariableDialogTest, OkTrimsDollarsAndBlanksFromTheName)
{
    auto form = ShowForm();
    form->nameEdit()->setText(QStringLiteral("  $Neu$ \t"));
    QTest::mouseClick(form->okButton(), Qt::LeftButton);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(form->nameEdit()->text(), QStringLiteral("Neu"));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(VariableDialogTest, ANameThatIsEmptyAfterTrimmingIsAccepted)
{
    auto form = ShowForm();
    form->nameEdit()->setText(QStringLiteral("$ $"));
    form->OkClick();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_TRUE(form->name().isEmpty());
}

TEST_F(VariableDialogTest, ANameOfAnotherRowIsRefusedInAnyLetterCase)
{
    auto form = ShowForm();
    for (const QString& taken : {QStringLiteral("Titel"), QStringLiteral(" $TITEL$"), QStringLiteral("grÖße")}) {
        form->nameEdit()->setText(taken);
        form->OkClick();
        EXPECT_NE(form->result(), QDialog::Accepted) << taken.toStdString();
        EXPECT_TRUE(form->isVisible());
    }
    EXPECT_EQ(form->nameEdit()->text(), QStringLiteral("grÖße")) << "the trimmed name stays for correction";
    EXPECT_EQ(Messages().size(), 3);
    EXPECT_EQ(Messages().front(), QStringLiteral("Variablenname bereits vorhanden"));
}

TEST_F(VariableDialogTest, TheRowsOwnNamePasses)
{
    auto form = ShowForm();
    form->nameEdit()->setText(QStringLiteral("FARBE"));
    form->OkClick();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(VariableDialogTest, ClearEmptiesTheValueOnly)
{
    auto form = ShowForm("Farbe", "rot\r\nblau");
    QTest::mouseClick(form->clearButton(), Qt::LeftButton);
    EXPECT_TRUE(form->valueEdit()->toPlainText().isEmpty());
    EXPECT_EQ(form->nameEdit()->text(), QStringLiteral("Farbe"));
    EXPECT_TRUE(form->isVisible());
}

// "OK" is the default button: Return takes the entries (in the value field
// it begins a new line), Escape cancels.
TEST_F(VariableDialogTest, ReturnTakesTheEntriesAndEscapeCancels)
{
    auto form = ShowForm("Farbe", "rot");
    EXPECT_TRUE(form->okButton()->isDefault());
    QTest::keyClick(form->valueEdit(), Qt::Key_Return);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->valueEdit()->blockCount(), 2);
    QTest::keyClick(form->nameEdit(), Qt::Key_Return);
    EXPECT_EQ(form->result(), QDialog::Accepted);

    auto cancelled = ShowForm("Farbe", "rot");
    QTest::keyClick(cancelled->nameEdit(), Qt::Key_Escape);
    EXPECT_FALSE(cancelled->isVisible());
    EXPECT_EQ(cancelled->result(), QDialog::Rejected);
}

TEST_F(VariableDialogTest, ValueLinesRoundTripWithCrLf)
{
    auto form = ShowForm("Farbe", "rot\r\nblau\r\n");
    EXPECT_EQ(form->valueEdit()->blockCount(), 3);
    EXPECT_EQ(form->valueEdit()->document()->findBlockByNumber(1).text(), QStringLiteral("blau"));
    EXPECT_EQ(form->value(), QStringLiteral("rot\r\nblau\r\n"));
}

TEST_F(VariableDialogTest, EditVariableReturnsTheEnteredTextsOnOk)
{
    WhenTheDialogShows([](Tvlistform& form) {
        EXPECT_EQ(form.nameEdit()->text(), QStringLiteral("Farbe \u2192"));
        EXPECT_EQ(form.valueEdit()->toPlainText(), QStringLiteral("rot"));
        form.nameEdit()->setText(QStringLiteral("$Hintergrund$"));
        form.valueEdit()->setPlainText(QStringLiteral("gr\u00fcn\nblau"));
        form.okButton()->click();
    });
    const std::optional<EnteredVariable> entered =
        EditVariable(nullptr, dialogs, list, "Farbe &#8594;", "rot", 1, true);
    ASSERT_TRUE(entered);
    EXPECT_EQ(entered->name, QStringLiteral("Hintergrund"));
    EXPECT_EQ(entered->value, QStringLiteral("gr\u00fcn\r\nblau"));
}

TEST_F(VariableDialogTest, EditVariableReturnsNothingOnCancel)
{
    WhenTheDialogShows([](Tvlistform& form) {
        form.nameEdit()->setText(QStringLiteral("Anders"));
        form.cancelButton()->click();
    });
    EXPECT_FALSE(EditVariable(nullptr, dialogs, list, "Farbe", "rot", 1, true));
}

} // namespace
} // namespace tw
