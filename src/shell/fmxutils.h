#pragma once

class QUrl;
class QWidget;

namespace tw {

class Dialogs;

// Opens files and addresses with the programs the desktop has registered for
// them (a page in the web browser, an address in the mail program). The
// window is given one; tests give it a recorder.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    // False when no program could open it.
    virtual bool Open(const QUrl& address) = 0;
};

class DesktopShellOpener : public ShellOpener {
public:
    bool Open(const QUrl& address) override;
};

// Opens a local file or an address through opener and tells the user, over
// owner, when no program could open it.
void OpenWithShell(ShellOpener& opener, Dialogs& dialogs, QWidget* owner, const QUrl& address);

} // namespace tw
