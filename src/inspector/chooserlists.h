#pragma once

#include <QString>
#include <QStringList>

namespace tw {

// The installed font families as a style sheet can name them: a family
// that several foundries supply is listed once, without the foundry that
// Qt appends to tell them apart ("C059 [urw]" becomes "C059").
QStringList FontFamilyNames();
// A family name without the foundry Qt appends.
QString CssFamilyName(QString family);

// The file types of the picture chooser: GIF and JPEG first, then the
// other types that browsers show, then all files.
QString PictureFilter();

} // namespace tw
