#include "shell/menutreemodel.h"

#include "document/qzhtml.h"
#include "guibase/documenttext.h"
#include "guibase/qtcodec.h"

namespace tw {

bool DropAccepted(DragMode mode, const MenuNode* dragged, const MenuNode* target)
{
    if (dragged == nullptr || dragged->IsRoot())
        return false;
    if (target == nullptr)
        return true;
    if (mode == DragMode::Move)
        return !target->HasAsAncestor(dragged);
    return target->Parent() == dragged->Parent();
}

std::optional<DropPlace> DropDestination(MenuTree& tree, DragMode mode, MenuNode& dragged, MenuNode* target)
{
    if (!DropAccepted(mode, &dragged, target) || target == &dragged)
        return std::nullopt;
    MenuNode& newParent = mode == DragMode::Sort ? *dragged.Parent() : target ? *target : tree.Root();
    const std::size_t row = mode == DragMode::Sort && target ? target->Row() : newParent.ChildCount();
    return DropPlace{&newParent, row};
}

MenuTreeModel::MenuTreeModel(TqzHTML& document, QObject* parent) : QAbstractItemModel(parent), document_(document)
{
    document_.Tree().AddObserver(this);
}

MenuTreeModel::~MenuTreeModel()
{
    document_.Tree().RemoveObserver(this);
}

MenuNode* MenuTreeModel::nodeOf(const QModelIndex& index)
{
    return index.isValid() ? static_cast<MenuNode*>(index.internalPointer()) : nullptr;
}

QModelIndex MenuTreeModel::indexOf(const MenuNode* node) const
{
    if (node == nullptr)
        return {};
    return createIndex(static_cast<int>(node->Row()), 0, const_cast<MenuNode*>(node));
}

QModelIndex MenuTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    const MenuNode* parentNode = nodeOf(parent);
    return indexOf(parentNode ? parentNode->Child(static_cast<std::size_t>(row)) : &document_.Tree().Root());
}

QModelIndex MenuTreeModel::parent(const QModelIndex& child) const
{
    const MenuNode* node = nodeOf(child);
    return node ? indexOf(node->Parent()) : QModelIndex();
}

int MenuTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const MenuNode* node = nodeOf(parent);
    return node ? static_cast<int>(node->ChildCount()) : 1;
}

int MenuTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant MenuTreeModel::data(const QModelIndex& index, int role) const
{
    const MenuNode* node = nodeOf(index);
    if (node == nullptr || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return FromCp1252(node->Caption());
}

bool MenuTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    MenuNode* node = nodeOf(index);
    if (node == nullptr || node->IsRoot() || role != Qt::EditRole)
        return false;
    if (rename_) {
        rename_(*node, value.toString());
        return true;
    }
    document_.Tree().SetCaption(*node, TextToDocument(value.toString()));
    document_.SetModified(true);
    return true;
}

Qt::ItemFlags MenuTreeModel::flags(const QModelIndex& index) const
{
    const MenuNode* node = nodeOf(index);
    if (node == nullptr)
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (!node->IsRoot())
        result |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
    return result;
}

void MenuTreeModel::BeforeInsert(MenuNode& parent, std::size_t row)
{
    beginInsertRows(indexOf(&parent), static_cast<int>(row), static_cast<int>(row));
}

void MenuTreeModel::AfterInsert(MenuNode&)
{
    endInsertRows();
}

void MenuTreeModel::BeforeRemove(MenuNode& parent, std::size_t first, std::size_t last)
{
    beginRemoveRows(indexOf(&parent), static_cast<int>(first), static_cast<int>(last));
}

void MenuTreeModel::AfterRemove(MenuNode&)
{
    endRemoveRows();
}

void MenuTreeModel::BeforeMove(MenuNode& node, MenuNode& destParent, std::size_t destRow)
{
    const QModelIndex source = indexOf(node.Parent());
    const int row = static_cast<int>(node.Row());
    // The tree never reports a move that leaves the node where it is, the
    // one case Qt would refuse.
    beginMoveRows(source, row, row, indexOf(&destParent), static_cast<int>(destRow));
}

void MenuTreeModel::AfterMove(MenuNode&)
{
    endMoveRows();
}

void MenuTreeModel::emitNodeChanged(const MenuNode& node)
{
    const QModelIndex index = indexOf(&node);
    emit dataChanged(index, index);
}

void MenuTreeModel::CaptionChanged(MenuNode& node)
{
    emitNodeChanged(node);
}

void MenuTreeModel::RecordChanged(MenuNode& node)
{
    emitNodeChanged(node);
}

} // namespace tw
