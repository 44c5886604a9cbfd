#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPersistentModelIndex>
#include <QPointer>

#include <vector>

namespace tw {

class GridTreeView;

// What a screen reader sees of the property grid: a tree whose items are
// its shown rows in display order, each with its caption as name, its group
// as description and its value as text, followed by the row editor and its
// chooser button while they are shown: children of the grid, laid over its
// viewport, so that their parent lists them.
class GridAccessible : public QAccessibleWidget {
public:
    explicit GridAccessible(GridTreeView* grid);
    ~GridAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The interface of the row, for events about it; null for an index
    // that is no row.
    QAccessibleInterface* RowInterface(const QModelIndex& index) const;

private:
    GridTreeView* Grid() const;
    void CollectRows() const;
    // The rows on the screen, in display order, as the tree view counts
    // them in its own notifications.
    std::vector<QModelIndex> ShownRows() const;
    std::vector<QWidget*> ShownEditors() const;

    mutable std::vector<QPersistentModelIndex> rows_;
    mutable std::vector<QAccessible::Id> rowIds_;
};

// Gives the grid and the chooser button their interfaces; installed once by
// the first of them that is created.
void InstallInspectorAccessibility();

} // namespace tw
