#pragma once

#include <string>

namespace tw {

// Opens a file with the action the system has registered for it (normally
// the web browser for HTML). The desktop program installs its own opener.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    virtual void OpenWithShell(const std::string& path) = 0;
};

// Opens through the installed opener; without one nothing happens. The
// result of the shell is not reported.
void OpenWithShell(const std::string& path);

class ScopedShellOpener {
public:
    explicit ScopedShellOpener(ShellOpener& opener);
    ~ScopedShellOpener();
    ScopedShellOpener(const ScopedShellOpener&) = delete;
    ScopedShellOpener& operator=(const ScopedShellOpener&) = delete;

private:
    ShellOpener* previous_;
};

} // namespace tw
