#include "shell/variablespage.h"

#include "document/qzhtml.h"
#include "shell/documenteditor.h"
#include "shell/editorparts.h"
#include "shell/toolbarimages.h"
#include "shell/varlistmodel.h"
#include "shell/vlistdlg.h"
#include "shell/windowkeys.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QToolBar>
#include <QVBoxLayout>

namespace tw {
namespace {

constexpr int DefaultNameWidth = 100;
constexpr int DefaultValueWidth = 320;
const char* const NewVariableBaseName = "Variable";
// The list's keys for its commands, as the menu tree has them.
constexpr QKeyCombination AddKey = Qt::Key_Insert;
constexpr QKeyCombination ChangeKey = Qt::Key_Return;
constexpr QKeyCombination DeleteKey = Qt::Key_Delete;

} // namespace

VariablesPage::VariablesPage(DocumentEditor& editor, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), editor_(editor), document_(editor.Document()), dialogs_(dialogs)
{
    model_ = new VarListModel(document_.Variables(), this);
    createToolBar();
    createList();
    createContextMenu();
    addListKeys();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(list_, 1);
}

VariablesPage::~VariablesPage() = default;

void VariablesPage::createToolBar()
{
    toolBar_ = new QToolBar(this);
    toolBar_->setAccessibleName(QStringLiteral("Befehle für Variablen"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar_->setIconSize(ToolbarImageSize);
    toolActions_[AddCommand] =
        toolBar_->addAction(ItemIcon(ItemImage::Add), QStringLiteral("Hinzufügen"), this, &VariablesPage::liadd);
    toolBar_->addSeparator();
    toolActions_[ChangeCommand] =
        toolBar_->addAction(ItemIcon(ItemImage::Change), QStringLiteral("Ändern"), this, [this] {
            setCurrentVariable(selectedRow());
            lichange();
        });
    toolActions_[DeleteCommand] =
        toolBar_->addAction(ItemIcon(ItemImage::Delete), QStringLiteral("Löschen"), this, [this] {
            setCurrentVariable(selectedRow());
            lidelete();
        });
    for (QAction* action : toolActions_) {
        // Reachable with Tab like every other control.
        toolBar_->widgetForAction(action)->setFocusPolicy(Qt::TabFocus);
    }
    afterOpen();
}

void VariablesPage::addListKeys()
{
    const QKeySequence keys[] = {AddKey, ChangeKey, DeleteKey};
    for (const Command command : {AddCommand, ChangeCommand, DeleteCommand}) {
        // Keys of the list only, so that a disabled button's command stays
        // out of reach and other controls keep their keys.
        QAction* action = toolActions_[command];
        action->setToolTip(HintWithKey(action->text(), keys[command]));
        action->setShortcut(keys[command]);
        action->setShortcutContext(Qt::WidgetShortcut);
        list_->addAction(action);
    }
    toolActions_[ChangeCommand]->setShortcuts({ChangeKey, Qt::Key_Enter});
    // Insert in the list selects the new variable, so that Return edits it.
    QAction* add = toolActions_[AddCommand];
    add->setShortcut(QKeySequence());
    list_->removeAction(add);
    auto* addByKey = new QAction(list_);
    addByKey->setShortcut(AddKey);
    addByKey->setShortcutContext(Qt::WidgetShortcut);
    connect(addByKey, &QAction::triggered, this, [this] {
        liadd();
        list_->setCurrentIndex(model_->index(model_->rowCount() - 1, 0));
    });
    list_->addAction(addByKey);
    // Ctrl with Up or Down moves the selected variable, as a drag would.
    for (const int step : {-1, 1}) {
        auto* move = new QAction(list_);
        move->setShortcut(QKeySequence(Qt::CTRL | (step < 0 ? Qt::Key_Up : Qt::Key_Down)));
        move->setShortcutContext(Qt::WidgetShortcut);
        connect(move, &QAction::triggered, this, [this, step] { moveSelected(step); });
        list_->addAction(move);
    }
}

void VariablesPage::moveSelected(int step)
{
    const std::optional<int> row = selectedRow();
    const int target = row ? *row + step : -1;
    if (target < 0 || target >= model_->rowCount())
        return;
    editor_.MoveVariable(static_cast<std::size_t>(*row), static_cast<std::size_t>(target));
    list_->setCurrentIndex(model_->index(target, 0));
}

void VariablesPage::createList()
{
    list_ = new DragTreeView(this);
    list_->setModel(model_);
    list_->setAccessibleName(QStringLiteral("eigene Variablen"));
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setSectionsClickable(false);
    list_->header()->setSectionsMovable(false);
    list_->header()->setStretchLastSection(false);
    setColumnWidths(DefaultNameWidth, DefaultValueWidth);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, &VariablesPage::showContextMenu);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &VariablesPage::ListView1SelectItem);
    list_->setDragHandlers({
        .started = [this] { setCurrentVariable(selectedRow()); },
        .accepts = [](const QPoint&) { return true; },
        .dropped = [this](const QPoint& point) { ListView1EndDrag(point); },
        .endedElsewhere = [this](const QPoint& point) { ListView1EndDrag(point); },
        // The gap before the row under the pointer, or below the last.
        .mark =
            [this](const QPoint& point) {
                const QModelIndex under = list_->indexAt(point);
                const int width = list_->viewport()->width();
                if (under.isValid())
                    return QRect(0, list_->visualRect(under).top(), width, 0);
                const int rows = model_->rowCount();
                return rows == 0 ? QRect()
                                 : QRect(0, list_->visualRect(model_->index(rows - 1, 0)).bottom() + 1, width, 0);
            },
    });
}

void VariablesPage::createContextMenu()
{
    popupMenu_ = new QMenu(this);
    popupActions_[AddCommand] =
        popupMenu_->addAction(ItemIcon(ItemImage::Add), QStringLiteral("&Hinzufügen"), this, &VariablesPage::liadd);
    popupActions_[ChangeCommand] = popupMenu_->addAction(ItemIcon(ItemImage::Change), QStringLiteral("Ä&ndern..."),
                                                         this, &VariablesPage::lichange);
    popupActions_[DeleteCommand] =
        popupMenu_->addAction(ItemIcon(ItemImage::Delete), QStringLiteral("&Löschen"), this, &VariablesPage::lidelete);
}

VariablesPage::ColumnWidths VariablesPage::columnWidths() const
{
    return {list_->columnWidth(VarListModel::NameColumn), list_->columnWidth(VarListModel::ValueColumn)};
}

void VariablesPage::setColumnWidths(int name, int value)
{
    list_->setColumnWidth(VarListModel::NameColumn, name);
    list_->setColumnWidth(VarListModel::ValueColumn, value);
}

void VariablesPage::afterOpen()
{
    toolActions_[ChangeCommand]->setEnabled(false);
    toolActions_[DeleteCommand]->setEnabled(false);
}

void VariablesPage::reselectCurrent()
{
    ListView1SelectItem();
}

std::optional<int> VariablesPage::selectedRow() const
{
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    return rows.front().row();
}

std::optional<int> VariablesPage::CurrentVariable() const
{
    if (!currentVariable_.isValid())
        return std::nullopt;
    return currentVariable_.row();
}

void VariablesPage::setCurrentVariable(std::optional<int> row)
{
    currentVariable_ = row ? QPersistentModelIndex(model_->index(*row, 0)) : QPersistentModelIndex();
}

void VariablesPage::ListView1SelectItem()
{
    const std::optional<int> row = selectedRow();
    toolActions_[ChangeCommand]->setEnabled(row.has_value());
    toolActions_[DeleteCommand]->setEnabled(row.has_value() &&
                                            !document_.Variables().Data(static_cast<std::size_t>(*row)).FromTemplate);
}

void VariablesPage::PopupMenu2Popup()
{
    setCurrentVariable(selectedRow());
    const bool hasRow = CurrentVariable().has_value();
    popupActions_[ChangeCommand]->setEnabled(hasRow);
    popupActions_[DeleteCommand]->setEnabled(hasRow);
}

void VariablesPage::showContextMenu(const QPoint& point)
{
    PopupMenu2Popup();
    popupMenu_->exec(list_->viewport()->mapToGlobal(point));
}

void VariablesPage::liadd()
{
    editor_.AddVariable(document_.Variables().UniqueName(NewVariableBaseName));
}

void VariablesPage::lichange()
{
    const std::optional<int> current = CurrentVariable();
    if (!current)
        return;
    TParseList& variables = document_.Variables();
    const auto row = static_cast<std::size_t>(*current);
    const std::optional<EnteredVariable> entered =
        EditVariable(this, dialogs_, variables, variables.Caption(row), variables.Data(row).Value, *current,
                     !variables.Data(row).FromTemplate);
    if (entered)
        editor_.ChangeVariable(row, entered->name, entered->value);
}

void VariablesPage::lidelete()
{
    if (const std::optional<int> current = CurrentVariable())
        editor_.DeleteVariable(static_cast<std::size_t>(*current));
}

void VariablesPage::ListView1EndDrag(const QPoint& viewportPoint)
{
    const std::optional<int> dragged = CurrentVariable();
    if (!dragged)
        return;
    // The row goes before the row under the point, or to the end.
    const QModelIndex under = list_->indexAt(viewportPoint);
    const auto source = static_cast<std::size_t>(*dragged);
    std::size_t target = under.isValid() ? static_cast<std::size_t>(under.row()) : document_.Variables().Count();
    if (source < target)
        --target;
    editor_.MoveVariable(source, target);
    list_->setCurrentIndex(model_->index(static_cast<int>(target), 0));
}

} // namespace tw
