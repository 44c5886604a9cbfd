#include "shell/cfile.h"

#include <QDir>

namespace tw {
namespace {

bool EndsWithSeparator(const QString& path)
{
    return path.endsWith(QLatin1Char('\\')) || path.endsWith(QLatin1Char('/'));
}

} // namespace

QString AdjustTrailingBackslash(const QString& path, bool include)
{
    if (path.isEmpty())
        return path;
    if (include)
        return EndsWithSeparator(path) ? path : path + QDir::separator();
    return EndsWithSeparator(path) ? path.chopped(1) : path;
}

void ListSubdirectories(const QString& directory, QStringList& list, bool namesOnly)
{
    const QString base = AdjustTrailingBackslash(directory, true);
    // Sorted by name without regard to case, the order in which the Windows
    // file system lists a directory; readdir order would look random.
    const QDir dir(base);
    const auto entries = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const auto& entry : entries) {
        const QString name = entry.fileName();
        if (name.startsWith(QLatin1Char('.')))
            continue;
        list.append(namesOnly ? name : base + name);
    }
}

} // namespace tw
