#include "shell/fmxutils.h"

#include "platform/codec.h"
#include "platform/messages.h"

#include <QDesktopServices>
#include <QUrl>

namespace tw {

QString FromCp1252(const std::string& text)
{
    return QString::fromStdU16String(Cp1252ToUtf16(text));
}

std::string ToCp1252(const QString& text)
{
    return Utf16ToCp1252(text.toStdU16String());
}

void DesktopShellOpener::OpenWithShell(const std::string& path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(FromCp1252(path))))
        ShowMessage(ToCp1252(QStringLiteral("Es wurde kein Programm gefunden, das „") + FromCp1252(path) +
                             QStringLiteral("“ öffnen kann.")));
}

} // namespace tw
