#include "shell/fmxutils.h"

#include "guibase/qtcodec.h"
#include "platform/messages.h"

#include <QDesktopServices>
#include <QUrl>

namespace tw {

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
