#include "platform/shell.h"

namespace tw {
namespace {

ShellOpener* g_opener = nullptr;

} // namespace

void OpenWithShell(const std::string& path)
{
    if (g_opener)
        g_opener->OpenWithShell(path);
}

ScopedShellOpener::ScopedShellOpener(ShellOpener& opener) : previous_(g_opener)
{
    g_opener = &opener;
}

ScopedShellOpener::~ScopedShellOpener()
{
    g_opener = previous_;
}

} // namespace tw
