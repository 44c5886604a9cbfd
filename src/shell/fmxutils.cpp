#include "shell/fmxutils.h"

#include "guibase/dialogs.h"

#include <QDesktopServices>
#include <QUrl>

namespace tw {

bool DesktopShellOpener::Open(const QUrl& address)
{
    return QDesktopServices::openUrl(address);
}

void OpenWithShell(ShellOpener& opener, Dialogs& dialogs, QWidget* owner, const QUrl& address)
{
    if (!opener.Open(address))
        dialogs.Message(owner, QStringLiteral("Es wurde kein Programm gefunden, das „") +
                                   address.toDisplayString(QUrl::PreferLocalFile) + QStringLiteral("“ öffnen kann."));
}

} // namespace tw
