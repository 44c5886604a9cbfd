#include "shell/toolbarimages.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace tw {
namespace {

constexpr int ImageSize = 24;

// The disabled "Speichern" image: the save image in grey, faded, with a
// diagonal stroke, so that it reads as "nothing to save" at a glance.
QIcon NothingToSaveImage(const QIcon& save)
{
    QImage image = save.pixmap(ImageSize, ImageSize).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 2 / 5);
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(128, 128, 128, 160), 2));
    painter.drawLine(4, pixmap.height() - 4, pixmap.width() - 4, 4);
    painter.end();
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(pixmap, QIcon::Disabled);
    return icon;
}

} // namespace

std::array<QIcon, CommandImageCount> CommandImages(const QStyle& style)
{
    std::array<QIcon, CommandImageCount> images;
    images[ciExit] = style.standardIcon(QStyle::SP_DialogCloseButton);
    images[ciNew] = style.standardIcon(QStyle::SP_FileIcon);
    images[ciOpen] = style.standardIcon(QStyle::SP_DialogOpenButton);
    images[ciSave] = style.standardIcon(QStyle::SP_DialogSaveButton);
    images[ciGenerate] = style.standardIcon(QStyle::SP_CommandLink);
    images[ciVersionCheck] = style.standardIcon(QStyle::SP_BrowserReload);
    images[ciInfo] = style.standardIcon(QStyle::SP_MessageBoxInformation);
    images[ciSaveAs] = style.standardIcon(QStyle::SP_DriveFDIcon);
    images[ciOpenMenu] = style.standardIcon(QStyle::SP_FileDialogContentsView);
    images[ciSaveDisabled] = NothingToSaveImage(images[ciSave]);
    return images;
}

} // namespace tw
