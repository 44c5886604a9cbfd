#pragma once

#include "shell/menutreemodel.h"

#include <QObject>

#include <optional>

class QAction;
class QMenu;
class QTreeView;

namespace tw {
class DocumentEditor;

// The ways the keyboard moves a menu item: before the sibling above it,
// behind the sibling below it, out of its parent to behind it, or into the
// sibling above it as its last child.
enum class MoveStep { Up, Down, Out, In };

// Where the step takes node, with the row as MenuTree::Move counts it;
// nothing for the root and where the step leads nowhere.
std::optional<DropPlace> StepDestination(const MenuNode& node, MoveStep step);

// Ctrl+Up, Ctrl+Down, Ctrl+Left and Ctrl+Right move the selected item of the
// tree, so that the menu can be rearranged without a mouse. Each move is one
// step of the history, as a drop is; the item stays selected. The same
// commands make up the menu "Verschieben" for the tree's context menu.
class TreeMoveKeys : public QObject {
    Q_OBJECT
public:
    TreeMoveKeys(QTreeView& tree, MenuTreeModel& model, DocumentEditor& editor);

    QMenu* menu() const { return menu_; }
    // Enables the commands that can move node (nullptr: none).
    void follow(const MenuNode* node);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void move(MoveStep step);

    QTreeView& tree_;
    MenuTreeModel& model_;
    DocumentEditor& editor_;
    QMenu* menu_;
    QAction* actions_[4] = {};
};

} // namespace tw
