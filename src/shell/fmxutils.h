#pragma once

#include "platform/shell.h"

#include <QString>

class QUrl;

#include <string>

namespace tw {

// Document text (Windows-1252) to and from Qt strings.
QString FromCp1252(const std::string& text);
std::string ToCp1252(const QString& text);

// Opens an address with the desktop's registered application (a web page in
// the browser); says so when there is none.
void OpenAddress(const QUrl& address);

// Opens files with the desktop's registered application.
class DesktopShellOpener : public ShellOpener {
public:
    void OpenWithShell(const std::string& path) override;
};

} // namespace tw
