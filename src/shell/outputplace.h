#pragma once

#include <QString>

namespace tw {

// While it lives, relative paths are taken from the folder of the project
// file, so that an output file name such as "menu.htm" lands beside the
// project and not wherever the program was started. Without a project file
// nothing changes.
class ProjectFolderScope {
public:
    explicit ProjectFolderScope(const QString& projectFile);
    ~ProjectFolderScope();
    ProjectFolderScope(const ProjectFolderScope&) = delete;
    ProjectFolderScope& operator=(const ProjectFolderScope&) = delete;

private:
    QString previous_;
};

// The wait cursor while loading, saving and generating.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace tw
