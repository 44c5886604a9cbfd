#pragma once

#include <QHash>
#include <QObject>

#include <vector>

class QTreeView;

namespace tw {

class MenuNode;
class MenuTreeModel;

// Remembers how a subtree was shown when it leaves the tree (which of its
// items were open, where the view stood) and shows it so again when the
// very nodes come back, as they do when a deletion is undone.
class SubtreeMemory : public QObject {
    Q_OBJECT
public:
    SubtreeMemory(QTreeView& view, MenuTreeModel& model);

private:
    struct Shown {
        std::vector<const MenuNode*> expanded; // sorted
        int scroll = 0;
    };

    void Remember(const QModelIndex& parent, int first, int last);
    void Restore(const QModelIndex& parent, int first, int last);

    QTreeView& view_;
    MenuTreeModel& model_;
    QHash<const MenuNode*, Shown> shown_;
};

} // namespace tw
