#pragma once

#include "platform/shell.h"

#include <string>

class QUrl;

namespace tw {

// Opens an address with the desktop's registered application (a web page in
// the browser); says so when there is none.
void OpenAddress(const QUrl& address);

// Opens files with the desktop's registered application.
class DesktopShellOpener : public ShellOpener {
public:
    void OpenWithShell(const std::string& path) override;
};

} // namespace tw
