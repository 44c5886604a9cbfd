#pragma once

#include <QString>

class QCoreApplication;

namespace tw {

// The name of the desktop entry, the icon and the AppStream component.
inline const QString DesktopId = QStringLiteral("de.vellmark.Treeweaver");

// Names the program, its maker and its version.
void NameTheProgram();

// NameTheProgram, and ties the program's windows to the desktop entry and
// gives them its icon.
void SetUpDesktopIdentity();

// Qt's own texts (dialogs, buttons, command-line help) in German, and German
// number and date formats, whatever the user's locale: the program's own
// texts are German, and the two should not be mixed. The German Qt texts of
// the system are used, else the copy built into the program.
void InstallGermanTexts(QCoreApplication& application);

} // namespace tw
