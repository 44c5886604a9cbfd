#pragma once

#include <QString>

namespace tw {

// The site folder a project's menu is written into, kept in the user's
// settings under the project's path, so that the project's files stay as
// they are. Empty when none was chosen or the project has no path yet.
QString RememberedSiteFolder(const QString& projectFile);
void RememberSiteFolder(const QString& projectFile, const QString& folder);

} // namespace tw
