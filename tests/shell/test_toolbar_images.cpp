#include "shell/toolbarimages.h"

#include <QApplication>
#include <QDirIterator>
#include <QImageReader>
#include <QPalette>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tw {
namespace {

struct Look {
    double contrast;   // mean lightness difference from the window background
    double saturation; // mean saturation as seen on that background
};

Look LookOnWindow(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    const QColor background = QApplication::palette().color(QPalette::Window);
    double contrast = 0, saturation = 0, weight = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const double a = pixel.alphaF();
            const auto blend = [a](double front, double back) { return front * a + back * (1 - a); };
            const QColor shown =
                QColor::fromRgbF(blend(pixel.redF(), background.redF()), blend(pixel.greenF(), background.greenF()),
                                 blend(pixel.blueF(), background.blueF()));
            contrast += a * std::abs(shown.lightnessF() - background.lightnessF());
            saturation += a * shown.hslSaturationF();
            weight += a;
        }
    }
    return weight > 0 ? Look{contrast / weight, saturation / weight} : Look{0, 0};
}

std::vector<QIcon> AllImages()
{
    const auto commands = CommandImages();
    std::vector<QIcon> images(commands.begin(), commands.begin() + ciSaveDisabled);
    for (ItemImage item :
         {ItemImage::Add, ItemImage::SubMenu, ItemImage::Change, ItemImage::Delete, ItemImage::ChooseFile})
        images.push_back(ItemIcon(item));
    return images;
}

TEST(ToolbarImages, OwnImagesLoadAsSvg)
{
    ASSERT_TRUE(QImageReader::supportedImageFormats().contains("svg")) << "Qt's SVG image plugin is missing";
    int count = 0;
    for (QDirIterator it(QStringLiteral(":/toolbar")); it.hasNext(); ++count) {
        const QString path = it.next();
        EXPECT_FALSE(QImageReader(path).read().isNull()) << path.toStdString();
    }
    EXPECT_EQ(count, 13);
}

// Rendered at the device's resolution (never scaled up), in colour while
// enabled, and grey and faint while disabled.
TEST(ToolbarImages, EnabledAndDisabledCannotBeMistakenAtEitherScale)
{
    const auto images = AllImages();
    for (const qreal scale : {1.0, 2.0}) {
        for (std::size_t i = 0; i < images.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "image " << i << " at scale " << scale);
            const QPixmap enabled = images[i].pixmap(ToolbarImageSize, scale, QIcon::Normal);
            const QPixmap disabled = images[i].pixmap(ToolbarImageSize, scale, QIcon::Disabled);
            EXPECT_EQ(enabled.size(), ToolbarImageSize * scale);
            EXPECT_EQ(disabled.size(), ToolbarImageSize * scale);
            const Look on = LookOnWindow(enabled);
            const Look off = LookOnWindow(disabled);
            EXPECT_GT(on.saturation, 0.15);
            EXPECT_LT(off.saturation, 0.02);
            EXPECT_LT(off.contrast, on.contrast / 2);
        }
    }
    const QPixmap nothingToSave = CommandImages()[ciSaveDisabled].pixmap(ToolbarImageSize, 2, QIcon::Normal);
    EXPECT_LT(LookOnWindow(nothingToSave).saturation, 0.02);
}

} // namespace
} // namespace tw
