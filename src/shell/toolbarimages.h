#pragma once

#include <QIcon>
#include <QSize>

#include <array>

namespace tw {

// Every toolbar shows its images at this one size.
inline constexpr QSize ToolbarImageSize(16, 16);

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

// The images of the item commands, shared by the menu tree and the variables.
enum class ItemImage { Add, SubMenu, Change, Delete, ChooseFile };

// Each image comes from the desktop's icon theme where it has one and from
// the program's own set otherwise; its disabled look is always our own.
std::array<QIcon, CommandImageCount> CommandImages();
QIcon ItemIcon(ItemImage image);

} // namespace tw
