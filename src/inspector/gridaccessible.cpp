#include "inspector/gridaccessible.h"

#include "inspector/gridtreeview.h"
#include "inspector/mybutton.h"

namespace tw {
namespace {

// One row of the grid: caption, group and the value as the grid shows it.
// Read-only text: the value is changed in the row editor.
class GridRowAccessible : public QAccessibleInterface, public QAccessibleTextInterface {
public:
    GridRowAccessible(GridTreeView* grid, const QModelIndex& index) : grid_(grid), index_(index) {}

    bool isValid() const override { return grid_ && index_.isValid(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(grid_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::TreeItem; }
    void setText(QAccessible::Text, const QString&) override {}
    // Group rows hold no value.
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        const bool holdsValue = isValid() && !grid_->model()->hasChildren(index_);
        return type == QAccessible::TextInterface && holdsValue ? static_cast<QAccessibleTextInterface*>(this)
                                                                : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name:
            return index_.data().toString();
        case QAccessible::Description:
            return index_.parent().data().toString();
        case QAccessible::Value:
            return grid_->ValueText(index_);
        default:
            return {};
        }
    }

    QRect rect() const override
    {
        if (!isValid() || !Shown())
            return {};
        const QRect row = grid_->RowRect(index_);
        return {grid_->viewport()->mapToGlobal(row.topLeft()), row.size()};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = true;
        state.focusable = true;
        const bool current = grid_->currentIndex() == QModelIndex(index_);
        state.selected = current && grid_->selectionModel()->isSelected(index_);
        state.active = current;
        state.focused = current && grid_->hasFocus();
        state.invisible = !Shown();
        state.offscreen = state.invisible;
        if (grid_->model()->hasChildren(index_)) {
            state.expandable = true;
            state.expanded = grid_->isExpanded(index_);
            state.collapsed = !state.expanded;
        }
        return state;
    }

    // The value as read-only text.
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        const QString value = text(QAccessible::Value);
        return value.mid(startOffset, endOffset < 0 ? -1 : endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(text(QAccessible::Value).size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    // Rows of a collapsed group are not on the screen.
    bool Shown() const
    {
        const QModelIndex group = index_.parent();
        return !group.isValid() || grid_->isExpanded(group);
    }

    QPointer<GridTreeView> grid_;
    QPersistentModelIndex index_;
};

// The chooser button beside the row editor: a push button named for the
// chooser it opens.
class ChooserButtonAccessible : public QAccessibleWidget {
public:
    explicit ChooserButtonAccessible(TMYButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && own.isEmpty())
            return static_cast<TMYButton*>(widget())->Caption();
        return own;
    }
    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && widget()->isEnabled())
            static_cast<TMYButton*>(widget())->Click();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    if (auto* grid = qobject_cast<GridTreeView*>(object); grid && grid->metaObject() == &GridTreeView::staticMetaObject)
        return new GridAccessible(grid);
    if (auto* button = qobject_cast<TMYButton*>(object))
        return new ChooserButtonAccessible(button);
    return nullptr;
}

} // namespace

GridAccessible::GridAccessible(GridTreeView* grid) : QAccessibleWidget(grid, QAccessible::Tree) {}

GridAccessible::~GridAccessible()
{
    for (const QAccessible::Id id : rowIds_)
        QAccessible::deleteAccessibleInterface(id);
}

GridTreeView* GridAccessible::Grid() const
{
    return static_cast<GridTreeView*>(widget());
}

// The rows are fixed once the grid has its model; they are listed on the
// first question about them.
void GridAccessible::CollectRows() const
{
    if (!rows_.empty() || Grid()->model() == nullptr)
        return;
    const QAbstractItemModel& model = *Grid()->model();
    std::vector<QModelIndex> pending;
    for (int row = model.rowCount() - 1; row >= 0; --row)
        pending.push_back(model.index(row, 0));
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        rows_.emplace_back(index);
        auto* row = new GridRowAccessible(Grid(), index);
        rowIds_.push_back(QAccessible::registerAccessibleInterface(row));
        for (int child = model.rowCount(index) - 1; child >= 0; --child)
            pending.push_back(model.index(child, 0, index));
    }
}

std::vector<QModelIndex> GridAccessible::ShownRows() const
{
    std::vector<QModelIndex> shown;
    if (Grid()->model() == nullptr)
        return shown;
    for (QModelIndex index = Grid()->model()->index(0, 0); index.isValid(); index = Grid()->indexBelow(index))
        shown.push_back(index);
    return shown;
}

std::vector<QWidget*> GridAccessible::ShownEditors() const
{
    std::vector<QWidget*> shown;
    for (QObject* child : Grid()->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && control != Grid()->viewport() && control->isVisible() && control->focusPolicy() != Qt::NoFocus)
            shown.push_back(control);
    }
    return shown;
}

int GridAccessible::childCount() const
{
    return static_cast<int>(ShownRows().size() + ShownEditors().size());
}

QAccessibleInterface* GridAccessible::child(int index) const
{
    if (index < 0)
        return nullptr;
    const auto at = static_cast<std::size_t>(index);
    const std::vector<QModelIndex> rows = ShownRows();
    if (at < rows.size())
        return RowInterface(rows[at]);
    const std::vector<QWidget*> editors = ShownEditors();
    return at - rows.size() < editors.size() ? QAccessible::queryAccessibleInterface(editors[at - rows.size()])
                                             : nullptr;
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (child == nullptr)
        return -1;
    const std::vector<QModelIndex> rows = ShownRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (RowInterface(rows[i]) == child)
            return static_cast<int>(i);
    }
    const std::vector<QWidget*> editors = ShownEditors();
    for (std::size_t i = 0; i < editors.size(); ++i) {
        if (editors[i] == child->object())
            return static_cast<int>(rows.size() + i);
    }
    return -1;
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const
{
    const QPoint point(x, y);
    for (QWidget* editor : ShownEditors()) {
        if (editor->rect().contains(editor->mapFromGlobal(point)))
            return QAccessible::queryAccessibleInterface(editor);
    }
    return RowInterface(Grid()->indexAt(Grid()->viewport()->mapFromGlobal(point)));
}

QAccessibleInterface* GridAccessible::focusChild() const
{
    for (QWidget* editor : ShownEditors()) {
        if (editor->hasFocus())
            return QAccessible::queryAccessibleInterface(editor);
    }
    return Grid()->hasFocus() ? RowInterface(Grid()->currentIndex()) : nullptr;
}

QAccessibleInterface* GridAccessible::RowInterface(const QModelIndex& index) const
{
    CollectRows();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (QModelIndex(rows_[i]) == index && index.isValid())
            return QAccessible::accessibleInterface(rowIds_[i]);
    }
    return nullptr;
}

void InstallInspectorAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

} // namespace tw
