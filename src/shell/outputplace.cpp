#include "shell/outputplace.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace tw {

ProjectFolderScope::ProjectFolderScope(const QString& projectFile)
{
    if (projectFile.isEmpty())
        return;
    previous_ = QDir::currentPath();
    QDir::setCurrent(QFileInfo(projectFile).absolutePath());
}

ProjectFolderScope::~ProjectFolderScope()
{
    if (!previous_.isEmpty())
        QDir::setCurrent(previous_);
}

BusyCursor::BusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace tw
