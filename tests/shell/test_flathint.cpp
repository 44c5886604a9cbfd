#include "inspector/tflathintunit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tw {
namespace {

const QRect Screen(0, 0, 1280, 800);

TEST(HintPlacement, TopLeftQuadrantPutsTheWindowRightOfAndBelowThePointer)
{
    const HintPlacement placement = PlaceHint(QPoint(100, 100), QSize(100, 15), Screen);
    EXPECT_EQ(placement.corner, hcTopLeft);
    EXPECT_EQ(placement.rect, QRect(112, 112, 122, 21)); // right edge 234 exclusive
}

TEST(HintPlacement, OtherQuadrantsKeepTheWindowFivePixelsAwayTowardsTheScreensMiddle)
{
    const QSize text(100, 15); // a window of 122 x 21
    const HintPlacement bottomRight = PlaceHint(QPoint(1000, 700), text, Screen);
    EXPECT_EQ(bottomRight.corner, hcBottomRight);
    EXPECT_EQ(bottomRight.rect, QRect(1000 - 5 - 122, 700 - 5 - 21, 122, 21));

    EXPECT_EQ(PlaceHint(QPoint(1000, 100), text, Screen).rect.topLeft(), QPoint(1000 - 5 - 122, 105));
    EXPECT_EQ(PlaceHint(QPoint(100, 700), text, Screen).rect.topLeft(), QPoint(105, 700 - 5 - 21));
    // Quadrants are taken relative to the screen the pointer is on.
    EXPECT_EQ(PlaceHint(QPoint(1380, 100), text, Screen.translated(1280, 0)).corner, hcTopLeft);
}

TEST(HintPlacement, LongHintWrapsWithinTheWidthLimit)
{
    const QString text = QStringLiteral("Öffnet die Vorlage im Programm, das das System für ihren Dateityp "
                                        "eingetragen hat, und zeigt das fertige Menü");
    const QFont font;
    const QSize size = HintTextSize(text, font, 200);
    EXPECT_LE(size.width(), 200 - HintExtraWidth);
    EXPECT_GE(size.height(), 3 * QFontMetrics(font).lineSpacing() - QFontMetrics(font).leading());
}

class FlatHintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_.setToolTip(QStringLiteral("Menü erstellen"));
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(labelled_);
        layout->addWidget(plain_);
        labelled_->setToolTip(QStringLiteral("Öffnet die Vorlage"));
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    // Asks for the tooltip of widget as Qt does once the pointer rests.
    bool RequestHint(QWidget* widget)
    {
        const QPoint local(5, 5);
        QHelpEvent request(QEvent::ToolTip, local, widget->mapToGlobal(local));
        QApplication::sendEvent(widget, &request);
        return request.isAccepted();
    }

    bool HintShows(const QString& text) const
    {
        const TFlatHintWindow* window = hint_.HintWindow();
        return window && window->isVisible() && window->Text() == text;
    }

    QWidget window_;
    QLabel* labelled_ = new QLabel(QStringLiteral("Vorlage"));
    QLabel* plain_ = new QLabel(QStringLiteral("ohne"));
    TFlatHint hint_{&window_};
};

TEST_F(FlatHintTest, TooltipRequestShowsTheFlatWindowInsteadOfQtsTooltip)
{
    EXPECT_TRUE(RequestHint(labelled_));
    EXPECT_TRUE(HintShows(QStringLiteral("Öffnet die Vorlage")));
    EXPECT_FALSE(QToolTip::isVisible());

    // A control without a tooltip of its own shows that of its parent.
    RequestHint(plain_);
    EXPECT_TRUE(HintShows(QStringLiteral("Menü erstellen")));

    QTest::mousePress(plain_, Qt::LeftButton);
    EXPECT_FALSE(hint_.HintWindow()->isVisible());
}

TEST_F(FlatHintTest, RestingPointerGetsTheHintAfterHalfASecond)
{
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    const QPoint local(5, 5);
    QMouseEvent move(QEvent::MouseMove, local, labelled_->mapToGlobal(local), Qt::NoButton, Qt::NoButton, {});
    QElapsedTimer clock;
    clock.start();
    QApplication::sendEvent(labelled_, &move);
    EXPECT_FALSE(HintShows(QStringLiteral("Öffnet die Vorlage")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return HintShows(QStringLiteral("Öffnet die Vorlage")); }, 3000));
    EXPECT_GE(clock.elapsed(), 450); // coarse timers may fire a little early
}

TEST_F(FlatHintTest, ShowHintHandlerCanChangeTheTextOrForbidTheHint)
{
    hint_.SetOnShowHint([](QString& text, bool&) { text += QStringLiteral("!"); });
    RequestHint(labelled_);
    EXPECT_TRUE(HintShows(QStringLiteral("Öffnet die Vorlage!")));

    hint_.SetOnShowHint([](QString&, bool& canShow) { canShow = false; });
    RequestHint(plain_);
    EXPECT_FALSE(hint_.HintWindow()->isVisible());
}

TEST_F(FlatHintTest, PaintsBorderStripAndArrowOnThePointersSide)
{
    RequestHint(labelled_);
    TFlatHintWindow& window = *hint_.HintWindow();
    ASSERT_EQ(window.Corner(), hcTopLeft); // the test window sits near the screen's top left
    const QImage image = window.grab().toImage();
    const int bottom = image.height() - 1;
    const int right = image.width() - 1;
    EXPECT_EQ(image.pixel(0, 0), QColor(Qt::black).rgb());
    EXPECT_EQ(image.pixel(right, bottom), QColor(Qt::black).rgb());
    EXPECT_EQ(image.pixel(1, bottom - 1), QColor(255, 210, 83).rgb());
    EXPECT_EQ(image.pixel(14, bottom - 1), QColor(255, 210, 83).rgb());
    EXPECT_EQ(image.pixel(15, bottom - 1), QColor(Qt::white).rgb());
    // The arrow's tip, two pixels inside the strip's corner, and the start of its last stroke.
    EXPECT_EQ(image.pixel(3, 3), QColor(Qt::black).rgb());
    EXPECT_EQ(image.pixel(10, 8), QColor(Qt::black).rgb());
}

// On a theme's dark tooltip background the text takes the theme's tooltip
// text colour, not the window text colour.
TEST_F(FlatHintTest, TextTakesTheThemesTooltipTextColour)
{
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    dark.setColor(QPalette::ToolTipText, QColor(0xF0, 0xF0, 0x20));
    QApplication::setPalette(dark);
    hint_.SetColor(TFlatHint::ColorBackground, QColor(0x20, 0x20, 0x20));
    RequestHint(labelled_);
    const QImage image = hint_.HintWindow()->grab().toImage();
    QApplication::setPalette(before);
    int yellowish = 0;
    for (int y = 1; y < image.height() - 1; ++y) {
        for (int x = 16; x < image.width() - 1; ++x) {
            const QColor pixel(image.pixel(x, y));
            yellowish += pixel.red() > 0x90 && pixel.blue() < 0x60 ? 1 : 0;
        }
    }
    EXPECT_GT(yellowish, 0);
}

} // namespace
} // namespace tw
