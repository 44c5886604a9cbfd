#include "inspector/chooserlists.h"

#include <QFontDatabase>
#include <QRegularExpression>

namespace tw {

QString CssFamilyName(QString family)
{
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\]]*\\]$"));
    return family.remove(foundry);
}

QStringList FontFamilyNames()
{
    QStringList names;
    for (const QString& family : QFontDatabase::families())
        names.append(CssFamilyName(family));
    names.removeDuplicates();
    return names;
}

QString PictureFilter()
{
    return QStringLiteral("GIF (*.gif)|*.gif|JPEG (*.jpg, *.jpeg)|*.jpg;*.jpeg|PNG (*.png)|*.png|WebP (*.webp)|*.webp|"
                          "SVG (*.svg)|*.svg|Alle Dateien (*.*)|*.*");
}

} // namespace tw
