#include "inspector/tddlist_u.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(ChoiceListLayout, HeightIsOneRowPerStringAtMostEightAtLeastOne)
{
    EXPECT_EQ(ChoiceListHeight(3), 41);
    EXPECT_EQ(ChoiceListHeight(200), 106);
    EXPECT_EQ(ChoiceListHeight(0), 15);
}

TEST(ChoiceListLayout, GoesBelowTheEditBoxOrAboveItNearTheScreensBottom)
{
    const QRect high(100, 300, 150, 20);
    EXPECT_EQ(ChoiceListGeometry(high, 3, 800), QRect(100, 319, 150, 41));

    const QRect low(100, 760, 150, 20);
    const QRect above = ChoiceListGeometry(low, 3, 800);
    EXPECT_EQ(above.height(), 41);
    EXPECT_EQ(above.bottom(), low.top()); // overlaps the edit box's top edge by a pixel
}

class ChoiceListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(target_);
        layout->addWidget(opener_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    void TearDown() override
    {
        if (list_)
            list_->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    Tddlist& Show(const QStringList& strings, const QString& text)
    {
        if (list_)
            list_->close();
        target_->setText(text);
        const QRect edit(target_->mapToGlobal(QPoint(0, 0)), target_->size());
        list_ = ShowChoiceList(strings, edit, target_, opener_, showing_);
        return *list_;
    }
    // Closing deletes the list, which clears this pointer.
    bool Closed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return list_.isNull();
    }

    QWidget window_;
    QLineEdit* target_ = new QLineEdit;
    QPushButton* opener_ = new QPushButton;
    bool showing_ = false;
    QPointer<Tddlist> list_;
    const QStringList fonts_{QStringLiteral("Courier"), QStringLiteral("Arial"), QStringLiteral("Verdana")};
};

TEST_F(ChoiceListTest, SelectsTheTargetsTextWithoutRegardToCaseElseTheFirst)
{
    EXPECT_EQ(Show(fonts_, QStringLiteral("aRIAL")).ListBox1()->currentRow(), 1);
    EXPECT_EQ(Show(fonts_, QStringLiteral("Helvetica")).ListBox1()->currentRow(), 0);
}

TEST_F(ChoiceListTest, ScrollsTheChoiceToTheLowestVisibleRow)
{
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many.append(QStringLiteral("Schrift %1").arg(i));
    Tddlist& list = Show(many, QStringLiteral("Schrift 50"));
    EXPECT_EQ(list.height(), 106);
    QListWidget& box = *list.ListBox1();
    EXPECT_EQ(box.currentRow(), 50);
    EXPECT_EQ(box.indexAt(QPoint(1, 1)).row(), 43);
    EXPECT_EQ(box.indexAt(QPoint(1, 7 * ChoiceListItemHeight + 1)).row(), 50);
}

TEST_F(ChoiceListTest, EnterChoosesTheSelectedStringAndEnablesTheOpener)
{
    Tddlist& list = Show(fonts_, QStringLiteral("Arial"));
    EXPECT_TRUE(showing_);
    EXPECT_FALSE(opener_->isEnabled());
    EXPECT_TRUE(list.isVisible());

    QTest::keyClick(list.ListBox1(), Qt::Key_Down);
    EXPECT_TRUE(list.isVisible());
    QTest::keyClick(list.ListBox1(), Qt::Key_Return);
    EXPECT_EQ(target_->text(), QStringLiteral("Verdana"));
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(opener_->isEnabled());
}

TEST_F(ChoiceListTest, EscapeClosesWithoutChoosing)
{
    Tddlist& list = Show(fonts_, QStringLiteral("Arial"));
    QTest::keyClick(list.ListBox1(), Qt::Key_Down);
    QTest::keyClick(list.ListBox1(), Qt::Key_Escape);
    EXPECT_EQ(target_->text(), QStringLiteral("Arial"));
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(opener_->isEnabled());
}

TEST_F(ChoiceListTest, MouseReleaseChoosesTheItemUnderThePointer)
{
    QListWidget& box = *Show(fonts_, QStringLiteral("Arial")).ListBox1();
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, box.visualItemRect(box.item(0)).center());
    EXPECT_EQ(target_->text(), QStringLiteral("Courier"));
    EXPECT_TRUE(Closed());
}

TEST_F(ChoiceListTest, ApplicationLosingActivationClosesWithoutChoosing)
{
    Show(fonts_, QStringLiteral("Arial"));
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(target_->text(), QStringLiteral("Arial"));
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(opener_->isEnabled());
}

} // namespace
} // namespace tw
