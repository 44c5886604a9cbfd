#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

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

// Qt's file dialog writes dates and sizes in the system locale, which Qt
// reads from the environment once, while the application object is made.
// Made before that object, this makes the system locale German for Qt; its
// Restore, called right after, gives the environment (which programs started
// from the window inherit) and the C library's locale back as they were.
// It comes too late where a library reads the locale while it is loaded, as
// Qt Quick does (Qt WebEngine brings it along): the dialog then keeps the
// user's formats.
class GermanSystemLocale {
public:
    GermanSystemLocale();
    void Restore();

private:
    struct Variable {
        const char* name;
        QByteArray value;
        bool set;
    };
    std::vector<Variable> saved_;
};

} // namespace tw
