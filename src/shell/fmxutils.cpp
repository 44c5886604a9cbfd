#include "shell/fmxutils.h"

#include "platform/codec.h"

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
    // The result is not reported, as with the shell's own open action.
    QDesktopServices::openUrl(QUrl::fromLocalFile(FromCp1252(path)));
}

} // namespace tw
