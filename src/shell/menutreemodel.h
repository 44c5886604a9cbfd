#pragma once

#include "document/menutree.h"

#include <QAbstractItemModel>

#include <functional>
#include <optional>

namespace tw {
class TqzHTML;

// How a dropped menu item is placed: "M" moves it under the node it is
// dropped on, "S" reorders it among its siblings.
enum class DragMode { Move, Sort };

// Whether dragged may be dropped on target (nullptr: empty space of the view).
bool DropAccepted(DragMode mode, const MenuNode* dragged, const MenuNode* target);
// Where an accepted drop puts dragged: the new parent and the row as
// MenuTree::Move counts it; nothing when it stays where it is.
struct DropPlace {
    MenuNode* parent;
    std::size_t row;
};
std::optional<DropPlace> DropDestination(MenuTree& tree, DragMode mode, MenuNode& dragged, MenuNode* target);

// The document's menu tree as seen by a view. The model holds no copy: every
// index points at its MenuNode, and the tree's change reports are passed on
// as Qt's begin/end notifications. The root (the project node) is the one
// top-level row. The document must outlive the model.
class MenuTreeModel : public QAbstractItemModel, private MenuTreeObserver {
    Q_OBJECT
public:
    explicit MenuTreeModel(TqzHTML& document, QObject* parent = nullptr);
    ~MenuTreeModel() override;

    // Where an accepted caption goes: the owner's history. Without one, no
    // caption is accepted.
    using RenameHandler = std::function<void(MenuNode& node, const QString& caption)>;
    void setRenameHandler(RenameHandler handler) { rename_ = std::move(handler); }

    static MenuNode* nodeOf(const QModelIndex& index);
    QModelIndex indexOf(const MenuNode* node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Renames an item (never the root) through the rename handler.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void BeforeInsert(MenuNode& parent, std::size_t row) override;
    void AfterInsert(MenuNode& node) override;
    void BeforeRemove(MenuNode& parent, std::size_t first, std::size_t last) override;
    void AfterRemove(MenuNode& parent) override;
    void BeforeMove(MenuNode& node, MenuNode& destParent, std::size_t destRow) override;
    void AfterMove(MenuNode& node) override;
    void CaptionChanged(MenuNode& node) override;
    void RecordChanged(MenuNode& node) override;

    void emitNodeChanged(const MenuNode& node);

    TqzHTML& document_;
    RenameHandler rename_;
};

} // namespace tw
