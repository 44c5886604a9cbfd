#pragma once

#include "shell/corepath.h"

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace tw {

class Dialogs;
class Project;
class ShellOpener;

// The output file of a project: the "Filename" setting, a relative name taken
// from the project's folder. Lives while the core uses the path.
class OutputFile {
public:
    OutputFile(const QString& projectFile, const std::string& setting);

    bool Empty() const { return shown_.isEmpty(); }
    // For the user and for Qt's file functions.
    const QString& Shown() const { return shown_; }
    QString Folder() const;
    // For the core's file functions.
    const std::string& Core() const { return core_; }

private:
    CorePath project_;
    std::string core_;
    QString shown_;
};

// "Quellcode erstellen" and "Menü öffnen": writes the project's menu into its
// output file, offers to delete the submenu files it left behind, and opens
// the written menu in the system's browser.
class GenerationController : public QObject {
    Q_OBJECT
public:
    // Messages and questions go to window; notice shows the confirmation
    // after a generation.
    GenerationController(Project& project, Dialogs& dialogs, ShellOpener& opener, QWidget& window,
                         std::function<void(const QString&)> notice);

    void Generate();
    void OpenMenu();

private:
    // Offers to create the missing folder of the output file; true when it
    // exists now.
    bool OfferOutputFolder(const QString& folder);
    // After a generation: asks whether to delete the submenu files in folder
    // that it did not write, and deletes them on "Ja".
    void OfferToDeleteStaleFiles(const QString& folder, const std::vector<std::string>& paths);
    OutputFile Output() const;

    Project& project_;
    Dialogs& dialogs_;
    ShellOpener& opener_;
    QWidget& window_;
    std::function<void(const QString&)> notice_;
};

} // namespace tw
