#include "inspector/mybutton.h"
#include "inspector/mypanel.h"

#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace tw {
namespace {

constexpr QPoint Outside(100, 100); // the button is 75 x 25

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        button_.SetCaption(QStringLiteral("&Wählen"));
        QObject::connect(&button_, &TMYButton::clicked, [this] { ++clicks_; });
        button_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&button_));
    }

    TMYButton button_;
    int clicks_ = 0;
};

TEST_F(ButtonTest, ReleaseOutsideRaisesNoClickAndLeavesTheButtonUp)
{
    QTest::mousePress(&button_, Qt::LeftButton);
    EXPECT_EQ(button_.state(), TMYButton::State::Down);
    QTest::mouseMove(&button_, Outside);
    EXPECT_EQ(button_.state(), TMYButton::State::Up);
    QTest::mouseRelease(&button_, Qt::LeftButton, {}, Outside);
    EXPECT_EQ(clicks_, 0);
    EXPECT_EQ(button_.state(), TMYButton::State::Up);
}

TEST_F(ButtonTest, ReleaseInsideClicks)
{
    QTest::mouseClick(&button_, Qt::LeftButton);
    EXPECT_EQ(clicks_, 1);
    EXPECT_EQ(button_.state(), TMYButton::State::Up);
    EXPECT_TRUE(button_.hasFocus());
}

TEST_F(ButtonTest, PressedLookIsFlatWithTheCaptionMovedByOnePixel)
{
    button_.grab();
    const QRect released = button_.textRect();
    ASSERT_FALSE(released.isEmpty());

    QTest::mousePress(&button_, Qt::LeftButton);
    const QImage pressed = button_.grab().toImage();
    EXPECT_EQ(button_.textRect(), released.translated(1, 1));

    const QPalette colors = button_.palette();
    const QRgb dark = colors.color(QPalette::Dark).rgb();
    const QRgb face = colors.color(QPalette::Button).rgb();
    EXPECT_EQ(pressed.pixel(0, 0), dark);
    EXPECT_EQ(pressed.pixel(74, 24), dark);
    EXPECT_EQ(pressed.pixel(0, 12), dark);
    EXPECT_EQ(pressed.pixel(1, 1), face);
    EXPECT_EQ(pressed.pixel(73, 23), face);
    QTest::mouseRelease(&button_, Qt::LeftButton);
}

TEST_F(ButtonTest, SpaceBarPressesAndClicksOnRelease)
{
    QTest::keyPress(&button_, Qt::Key_Space);
    EXPECT_EQ(button_.state(), TMYButton::State::Down);
    EXPECT_EQ(clicks_, 0);
    QTest::keyRelease(&button_, Qt::Key_Space);
    EXPECT_EQ(button_.state(), TMYButton::State::Up);
    EXPECT_EQ(clicks_, 1);
}

TEST_F(ButtonTest, AcceleratorClicksOnlyAnEnabledButton)
{
    button_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&button_));
    QTest::keyClick(&button_, Qt::Key_W, Qt::AltModifier);
    EXPECT_EQ(clicks_, 1);
    button_.setEnabled(false);
    QTest::keyClick(&button_, Qt::Key_W, Qt::AltModifier);
    EXPECT_EQ(clicks_, 1);
}

TEST(ButtonDialogTest, ClickHandsTheModalResultToTheDialogBeforeClickedAndKeepsItOpen)
{
    QDialog dialog;
    auto* button = new TMYButton(&dialog);
    button->SetModalResult(QDialog::Accepted);
    int resultAtClick = -1;
    QObject::connect(button, &TMYButton::clicked, [&] { resultAtClick = dialog.result(); });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(resultAtClick, QDialog::Accepted);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(PanelTest, OwnerDrawWithHandlerLeavesThePaintingToIt)
{
    TMyPanel panel;
    panel.resize(40, 20);
    panel.SetOwnerDraw(true);
    int calls = 0;
    panel.SetOnPaint([&](TMyPanel& sender, QPainter& painter) {
        ++calls;
        painter.fillRect(sender.rect(), Qt::magenta);
    });
    const QImage image = panel.grab().toImage();
    EXPECT_GT(calls, 0);
    // No bevel or caption on top of what the handler drew.
    for (const QPoint at : {QPoint(0, 0), QPoint(39, 19), QPoint(20, 10)})
        EXPECT_EQ(image.pixel(at), QColor(Qt::magenta).rgb()) << at.x() << "," << at.y();
}

TEST(PanelTest, OwnerDrawWithoutHandlerPaintsAnOrdinaryPanel)
{
    TMyPanel panel;
    panel.resize(40, 20);
    const QImage ordinary = panel.grab().toImage();
    panel.SetOwnerDraw(true);
    EXPECT_EQ(panel.grab().toImage(), ordinary);
    EXPECT_EQ(ordinary.pixel(20, 10), panel.palette().color(QPalette::Window).rgb());
}

} // namespace
} // namespace tw
