#pragma once

#include <QIcon>

#include <array>

class QStyle;

namespace tw {

// The image list of the main window's commands, by index: 0 Beenden, 1 Neu,
// 2 Öffnen, 3 Speichern, 4 Quellcode erstellen, 5 Version prüfen, 6 Info,
// 7 Speichern als, 8 Menü öffnen, 9 Speichern while disabled.
enum CommandImage {
    ciExit,
    ciNew,
    ciOpen,
    ciSave,
    ciGenerate,
    ciVersionCheck,
    ciInfo,
    ciSaveAs,
    ciOpenMenu,
    ciSaveDisabled,
    CommandImageCount
};

std::array<QIcon, CommandImageCount> CommandImages(const QStyle& style);

} // namespace tw
