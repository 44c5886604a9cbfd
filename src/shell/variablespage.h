#pragma once

#include <QPersistentModelIndex>
#include <QWidget>

#include <optional>

class QAction;
class QMenu;
class QToolBar;

namespace tw {
class Dialogs;
class DocumentEditor;
class DragTreeView;
class TqzHTML;
class VarListModel;

// The page "eigene Variablen": the user variables as a two-column list with
// a toolbar and a context menu to add, change and delete them, and drag and
// drop to reorder them. Every change goes through the editor, which must
// outlive the page.
class VariablesPage : public QWidget {
    Q_OBJECT
public:
    VariablesPage(DocumentEditor& editor, Dialogs& dialogs, QWidget* parent = nullptr);
    ~VariablesPage() override;

    DragTreeView* listView() const { return list_; }
    VarListModel* model() const { return model_; }

    enum Command { AddCommand, ChangeCommand, DeleteCommand };
    QAction* toolbarAction(Command command) const { return toolActions_[command]; }
    QAction* popupAction(Command command) const { return popupActions_[command]; }

    struct ColumnWidths {
        int name;
        int value;
    };
    ColumnWidths columnWidths() const;
    void setColumnWidths(int name, int value);

    // After a project was opened: "Ändern" and "Löschen" wait for a selection.
    void afterOpen();
    // Takes the enabling of the toolbar anew from the selected row (after the
    // template marks may have changed).
    void reselectCurrent();

    std::optional<int> selectedRow() const;
    std::optional<int> CurrentVariable() const;

    void liadd();
    void lichange();
    void lidelete();
    void ListView1SelectItem();
    void PopupMenu2Popup();
    // Ends a drag of CurrentVariable at a point of the list's viewport, also
    // one outside it: the row moves before the row at that point, or to the
    // end when there is none.
    void ListView1EndDrag(const QPoint& viewportPoint);

private:
    void createToolBar();
    void createList();
    void createContextMenu();
    void addListKeys();
    // Moves the selected variable step rows down (up when negative).
    void moveSelected(int step);
    void showContextMenu(const QPoint& point);
    void setCurrentVariable(std::optional<int> row);

    DocumentEditor& editor_;
    TqzHTML& document_;
    Dialogs& dialogs_;
    VarListModel* model_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    DragTreeView* list_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* toolActions_[3] = {};
    QAction* popupActions_[3] = {};
    QPersistentModelIndex currentVariable_;
};

} // namespace tw
