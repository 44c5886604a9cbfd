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

void OpenAddress(const QUrl& address)
{
    if (!QDesktopServices::openUrl(address))
        ShowMessage(ToCp1252(QStringLiteral("Es wurde kein Programm gefunden, das „") +
                             address.toDisplayString(QUrl::PreferLocalFile) + QStringLiteral("“ öffnen kann.")));
}

void DesktopShellOpener::OpenWithShell(const std::string& path)
{
    OpenAddress(QUrl::fromLocalFile(FromCp1252(path)));
}

} // namespace tw
