#include "shell/toolbarimages.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <utility>

// The images are resources of a static library, linked in only when named.
static void LoadToolbarResources()
{
    Q_INIT_RESOURCE(toolbarimages);
}

namespace tw {
namespace {

// Grey, with its contrast halved towards white and half transparent, so that
// no theme's disabled look can pass for an enabled image.
QPixmap DisabledLook(const QPixmap& pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) / 2);
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(pixmap.devicePixelRatio());
    return result;
}

// Renders its image at the device's resolution and draws the disabled look
// itself instead of leaving it to the style.
class ToolbarIconEngine final : public QIconEngine {
public:
    ToolbarIconEngine(QIcon image, bool alwaysDisabled) : image_(std::move(image)), alwaysDisabled_(alwaysDisabled) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1);
    }
    // The size is in device pixels.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap pixmap = image_.pixmap(size, 1, QIcon::Normal, state);
        pixmap.setDevicePixelRatio(scale);
        return alwaysDisabled_ || mode == QIcon::Disabled ? DisabledLook(pixmap) : pixmap;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State state) override
    {
        return image_.actualSize(size, QIcon::Normal, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State state) override
    {
        return image_.availableSizes(QIcon::Normal, state);
    }
    QString iconName() override { return image_.name(); }
    bool isNull() override { return image_.isNull(); }
    QIconEngine* clone() const override { return new ToolbarIconEngine(*this); }

private:
    QIcon image_;
    bool alwaysDisabled_;
};

// The name is a freedesktop icon name; our own image of it is in the resources.
QIcon ToolbarIcon(const char* name, bool alwaysDisabled = false)
{
    [[maybe_unused]] static const bool loaded = (LoadToolbarResources(), true);
    const QString themeName = QString::fromLatin1(name);
    QIcon image = QIcon::fromTheme(themeName, QIcon(QStringLiteral(":/toolbar/%1.svg").arg(themeName)));
    return QIcon(new ToolbarIconEngine(std::move(image), alwaysDisabled));
}

} // namespace

std::array<QIcon, CommandImageCount> CommandImages()
{
    std::array<QIcon, CommandImageCount> images;
    images[ciExit] = ToolbarIcon("application-exit");
    images[ciNew] = ToolbarIcon("document-new");
    images[ciOpen] = ToolbarIcon("document-open");
    images[ciSave] = ToolbarIcon("document-save");
    images[ciGenerate] = ToolbarIcon("system-run");
    images[ciVersionCheck] = ToolbarIcon("system-software-update");
    images[ciInfo] = ToolbarIcon("help-about");
    images[ciSaveAs] = ToolbarIcon("document-save-as");
    images[ciOpenMenu] = ToolbarIcon("web-browser");
    images[ciSaveDisabled] = ToolbarIcon("document-save", true);
    return images;
}

QIcon ItemIcon(ItemImage image)
{
    switch (image) {
    case ItemImage::Add:
        return ToolbarIcon("list-add");
    case ItemImage::SubMenu:
        return ToolbarIcon("folder-new");
    case ItemImage::Change:
        return ToolbarIcon("document-edit");
    case ItemImage::Delete:
        return ToolbarIcon("edit-delete");
    case ItemImage::ChooseFile:
        return ToolbarIcon("document-open");
    }
    return {};
}

} // namespace tw
