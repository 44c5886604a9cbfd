#include "shell/sitefolder.h"

#include "shell/csetting.h"

#include <QFileInfo>
#include <QUrl>

namespace tw {
namespace {

const QString Group = QStringLiteral("SiteFolders");

// The project's absolute path with its separators escaped: QSettings reads a
// slash in a key as a group.
QString Key(const QString& projectFile)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(projectFile).absoluteFilePath()));
}

} // namespace

QString RememberedSiteFolder(const QString& projectFile)
{
    if (projectFile.isEmpty())
        return {};
    QSettings settings(QSettings::UserScope, CompanyName, RegistryName);
    settings.beginGroup(Group);
    return settings.value(Key(projectFile)).toString();
}

void RememberSiteFolder(const QString& projectFile, const QString& folder)
{
    if (projectFile.isEmpty())
        return;
    QSettings settings(QSettings::UserScope, CompanyName, RegistryName);
    settings.beginGroup(Group);
    settings.setValue(Key(projectFile), folder);
}

} // namespace tw
