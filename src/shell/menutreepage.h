#pragma once

#include "shell/editorparts.h"
#include "shell/menutreemodel.h"
#include "shell/toolbarimages.h"

#include <QPersistentModelIndex>
#include <QTimer>
#include <QWidget>

#include <functional>

class QAction;
class QKeySequence;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;

namespace tw {
class Dialogs;
class DocumentEditor;
class MenuNode;
class TqzHTML;
class TreeMoveKeys;

// The page "Menüstruktur": the menu tree with its mode buttons and, in the
// box "Menüpunkt", the item commands and the link fields of the selected
// item. Every change goes through the editor, which must outlive the page.
class MenuTreePage : public QWidget {
    Q_OBJECT
public:
    MenuTreePage(DocumentEditor& editor, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MenuTreePage() override;

    // Where Choose link file reads the output file name of the project.
    void setOutputFileNameSource(std::function<QString()> source) { outputFileName_ = std::move(source); }

    DragTreeView* treeView() const { return tree_; }
    MenuTreeModel* model() const { return model_; }
    QMenu* contextMenu() const { return popupMenu_; }
    QLineEdit* menulink() const { return menulink_; }
    QLineEdit* linktarget() const { return linktarget_; }
    QToolButton* selecturl() const { return selecturl_; }
    QPushButton* BitBtn1() const { return BitBtn1_; }
    QToolButton* moveModeButton() const { return moveMode_; }
    QToolButton* sortModeButton() const { return sortMode_; }

    enum Command { AddCommand, SubMenuCommand, RenameCommand, DeleteCommand };
    QAction* toolbarAction(Command command) const { return toolActions_[command]; }
    // The context menu's entries; ChangeLink is its "Ä&ndern".
    enum PopupEntry { PopupAdd, PopupSubMenu, PopupRename, PopupChangeLink, PopupDelete };
    QAction* popupAction(PopupEntry entry) const { return popupActions_[entry]; }

    DragMode dragMode() const;
    MenuNode* selectedNode() const;
    MenuNode* CurrentNode() const { return MenuTreeModel::nodeOf(currentNode_); }
    void expandRoot();

    void EnableItemControls(bool enabled);
    void Tiadd();
    void TiSubMenu();
    void TiRen();
    void TiDelete();
    void BitBtn1Click();
    void Button3Click();
    // Sets CurrentNode and the enabling of the context menu before it opens.
    void PopupMenu1Popup();
    // The delayed selection report: applies what was typed into the link
    // fields to the item they showed, then fills them for the new selection.
    void TreeView1Change();
    // Applies link and target typed but not yet applied, to the item the
    // fields show.
    void ApplyPendingLink();
    // True while the link or target field holds text the item does not have.
    bool LinkPending() const;
    // Fills the link fields from the selected item again.
    void ShowSelectedLink();
    // Selects node, opening the items above it.
    void SelectNode(const MenuNode& node);
    // Puts undo and redo at the top of the context menu.
    void addHistoryActions(QAction* undo, QAction* redo);
    // Puts a command of the window at the end of the context menu.
    void addWindowAction(QAction* action);
    bool selectionReportPending() const { return selectionReport_.isActive(); }

private:
    QWidget* createTreePanel();
    QGroupBox* createItemBox();
    void createContextMenu();
    // The command, run on the selected node.
    std::function<void()> onSelectedNode(void (MenuTreePage::*command)());
    QAction* addToolbarCommand(ItemImage image, const QString& hint, const QKeySequence& key,
                               void (MenuTreePage::*command)());
    void addEntryKey(PopupEntry entry, const QKeySequence& key);
    void showContextMenu(const QPoint& point);
    void startEditingNewItem(MenuNode& parent);
    MenuNode* nodeAt(const QPoint& viewportPoint) const;
    // Where the dragged item would go when dropped on target (none: empty
    // space), for the drop marker.
    QRect dropMark(const MenuNode* target) const;

    DocumentEditor& editor_;
    TqzHTML& document_;
    Dialogs& dialogs_;
    std::function<QString()> outputFileName_;
    MenuTreeModel* model_ = nullptr;
    DragTreeView* tree_ = nullptr;
    QToolButton* moveMode_ = nullptr;
    QToolButton* sortMode_ = nullptr;
    QToolBar* itemToolBar_ = nullptr;
    QAction* toolActions_[4] = {};
    QMenu* popupMenu_ = nullptr;
    TreeMoveKeys* moveKeys_ = nullptr;
    QAction* popupActions_[5] = {};
    QLabel* urlLabel_ = nullptr;
    QLabel* targetLabel_ = nullptr;
    QLineEdit* menulink_ = nullptr;
    QLineEdit* linktarget_ = nullptr;
    QToolButton* selecturl_ = nullptr;
    QPushButton* BitBtn1_ = nullptr;
    QPersistentModelIndex currentNode_;
    // The item whose link and target the fields show.
    QPersistentModelIndex linkNode_;
    QTimer selectionReport_;
};

} // namespace tw
