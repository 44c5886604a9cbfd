#pragma once

#include <QString>
#include <QStringList>

namespace tw {

// With include set, makes sure the path ends in a directory separator;
// without, removes one trailing separator. An empty path stays empty. Both
// "\" and "/" count as a trailing separator; the one added is the platform's.
QString AdjustTrailingBackslash(const QString& path, bool include);

// Appends the sub-directories of directory to list: their bare names when
// namesOnly is set, else the directory followed by the name. Hidden and
// system entries and names beginning with "." are skipped. A missing
// directory adds nothing.
void ListSubdirectories(const QString& directory, QStringList& list, bool namesOnly);

} // namespace tw
