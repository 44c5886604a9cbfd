#include "shell/menutreepage.h"

#include "document/cstring.h"
#include "document/qzhtml.h"
#include "document/relativepath.h"
#include "guibase/dialogs.h"
#include "guibase/qtcodec.h"
#include "platform/paths.h"
#include "shell/documenteditor.h"
#include "shell/subtreememory.h"
#include "shell/treemovekeys.h"
#include "shell/windowkeys.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tw {
namespace {

constexpr int TreeWidth = 167;
constexpr int SelectionReportDelayMs = 50;
const char* const NewItemCaption = "Men\xFCpunkt";
constexpr QKeyCombination AddKey = Qt::Key_Insert;
constexpr QKeyCombination RenameKey = Qt::Key_F2;
constexpr QKeyCombination DeleteKey = Qt::Key_Delete;

bool IsItem(const MenuNode* node)
{
    return node != nullptr && !node->IsRoot();
}

// Whether index lies in the subtree of ancestor.
bool IsWithin(QModelIndex index, const QModelIndex& ancestor)
{
    for (; index.isValid(); index = index.parent()) {
        if (index == ancestor)
            return true;
    }
    return false;
}

QToolButton* ModeButton(const QString& letter, const QString& hint, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(letter);
    button->setToolTip(hint);
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setAutoRaise(true);
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    return button;
}

} // namespace

MenuTreePage::MenuTreePage(DocumentEditor& editor, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), editor_(editor), document_(editor.Document()), dialogs_(dialogs)
{
    model_ = new MenuTreeModel(document_, this);
    model_->setRenameHandler([this](MenuNode& node, const QString& caption) { editor_.RenameItem(node, caption); });
    auto* pageLayout = new QHBoxLayout(this);
    pageLayout->addWidget(createTreePanel());
    pageLayout->addWidget(createItemBox(), 1);
    createContextMenu();
    moveKeys_ = new TreeMoveKeys(*tree_, *model_, editor_);
    popupMenu_->insertMenu(popupActions_[PopupDelete], moveKeys_->menu());

    selectionReport_.setSingleShot(true);
    selectionReport_.setInterval(SelectionReportDelayMs);
    connect(&selectionReport_, &QTimer::timeout, this, &MenuTreePage::TreeView1Change);
    connect(tree_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectionReport_.start(); });
    EnableItemControls(false);
}

MenuTreePage::~MenuTreePage()
{
    // A caption still being edited is committed while the children go, when
    // this page is no longer one to route it through.
    model_->setRenameHandler(nullptr);
}

QWidget* MenuTreePage::createTreePanel()
{
    auto* panel = new QWidget(this);
    panel->setFixedWidth(TreeWidth);
    auto* header = new QFrame(panel);
    header->setFrameShape(QFrame::StyledPanel);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(2, 1, 2, 1);
    headerLayout->setSpacing(1);
    headerLayout->addWidget(new QLabel(QStringLiteral(" Menüstruktur"), header), 1);
    moveMode_ = ModeButton(QStringLiteral("M"), QStringLiteral("Menüpunkte verschieben"), header);
    sortMode_ = ModeButton(QStringLiteral("S"), QStringLiteral("Menüpunkte sortieren"), header);
    // The letters alone tell a screen reader nothing.
    moveMode_->setAccessibleName(moveMode_->toolTip());
    sortMode_->setAccessibleName(sortMode_->toolTip());
    moveMode_->setChecked(true);
    headerLayout->addWidget(moveMode_);
    headerLayout->addWidget(sortMode_);

    tree_ = new DragTreeView(panel);
    tree_->setModel(model_);
    tree_->setAccessibleName(QStringLiteral("Menüstruktur"));
    tree_->setHeaderHidden(true);
    // Every row is one line of text: the view then need not measure the
    // rows above the one it looks for, which a large tree cannot afford.
    tree_->setUniformRowHeights(true);
    tree_->scrollToLongCaptions();
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    // F2 is the key of "Umbenennen".
    tree_->setEditTriggers(QAbstractItemView::SelectedClicked);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QWidget::customContextMenuRequested, this, &MenuTreePage::showContextMenu);
    tree_->setDragHandlers({
        .started = [this] { currentNode_ = model_->indexOf(selectedNode()); },
        .accepts = [this](const QPoint& point) { return DropAccepted(dragMode(), CurrentNode(), nodeAt(point)); },
        .dropped =
            [this](const QPoint& point) {
                MenuNode& dragged = *CurrentNode();
                if (auto place = DropDestination(document_.Tree(), dragMode(), dragged, nodeAt(point))) {
                    editor_.MoveItem(dragged, *place->parent, place->row);
                    tree_->expand(model_->indexOf(place->parent));
                }
            },
        .endedElsewhere = {},
        .mark = [this](const QPoint& point) { return dropMark(nodeAt(point)); },
    });
    new SubtreeMemory(*tree_, *model_); // the tree owns it
    expandRoot();

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header);
    column->addWidget(tree_, 1);
    return panel;
}

std::function<void()> MenuTreePage::onSelectedNode(void (MenuTreePage::*command)())
{
    return [this, command] {
        currentNode_ = model_->indexOf(selectedNode());
        (this->*command)();
    };
}

QAction* MenuTreePage::addToolbarCommand(ItemImage image, const QString& hint, const QKeySequence& key,
                                         void (MenuTreePage::*command)())
{
    QAction* action = itemToolBar_->addAction(ItemIcon(image), hint);
    action->setToolTip(HintWithKey(hint, key));
    // Reachable with Tab like every other control.
    itemToolBar_->widgetForAction(action)->setFocusPolicy(Qt::TabFocus);
    connect(action, &QAction::triggered, this, onSelectedNode(command));
    return action;
}

QGroupBox* MenuTreePage::createItemBox()
{
    auto* box = new QGroupBox(QStringLiteral("Menüpunkt"), this);
    itemToolBar_ = new QToolBar(box);
    itemToolBar_->setAccessibleName(QStringLiteral("Befehle für Menüpunkte"));
    itemToolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    itemToolBar_->setIconSize(ToolbarImageSize);
    toolActions_[AddCommand] =
        addToolbarCommand(ItemImage::Add, QStringLiteral("Hinzufügen"), AddKey, &MenuTreePage::Tiadd);
    toolActions_[SubMenuCommand] =
        addToolbarCommand(ItemImage::SubMenu, QStringLiteral("Untermenü"), QKeySequence(), &MenuTreePage::TiSubMenu);
    itemToolBar_->addSeparator();
    toolActions_[RenameCommand] =
        addToolbarCommand(ItemImage::Change, QStringLiteral("Umbenennen"), RenameKey, &MenuTreePage::TiRen);
    toolActions_[DeleteCommand] =
        addToolbarCommand(ItemImage::Delete, QStringLiteral("Löschen"), DeleteKey, &MenuTreePage::TiDelete);

    urlLabel_ = new QLabel(QStringLiteral("&URL:"), box);
    menulink_ = new QLineEdit(box);
    menulink_->setToolTip(QStringLiteral(
        "Geben Sie hier die Adresse des Links an. geben Sie den Link so an, wie er später im Quelltext sethen "
        "soll, da keine relativen Pfadberechnungen vorgenommen werden."));
    urlLabel_->setBuddy(menulink_);
    selecturl_ = new QToolButton(box);
    selecturl_->setIcon(ItemIcon(ItemImage::ChooseFile));
    selecturl_->setIconSize(ToolbarImageSize);
    selecturl_->setAutoRaise(true);
    selecturl_->setAccessibleName(QStringLiteral("Datei für den Link wählen"));
    selecturl_->setToolTip(QStringLiteral(
        "Im angezeigten Dialog können, die die Datei auswählen, zu der der Link führen soll.\nFalls, sie den "
        "Speicherpfad des fertigen Menüs angegeben haben, berechnet das Programm die relative Position."));
    connect(selecturl_, &QToolButton::clicked, this, &MenuTreePage::Button3Click);

    targetLabel_ = new QLabel(QStringLiteral("&Targetframe"), box);
    linktarget_ = new QLineEdit(box);
    linktarget_->setToolTip(
        QStringLiteral("Geben Sie hier ggf. den Namen des Frames an, in dem die Seite angezeigt werden soll."));
    targetLabel_->setBuddy(linktarget_);

    BitBtn1_ = new QPushButton(QStringLiteral("Ändern"), box);
    BitBtn1_->setAutoDefault(false);
    connect(BitBtn1_, &QPushButton::clicked, this, &MenuTreePage::BitBtn1Click);
    // Enter in a link field applies it, as "Ändern" does.
    connect(menulink_, &QLineEdit::returnPressed, this, &MenuTreePage::BitBtn1Click);
    connect(linktarget_, &QLineEdit::returnPressed, this, &MenuTreePage::BitBtn1Click);
    // Escape in a link field leads back to the tree.
    for (QLineEdit* field : {menulink_, linktarget_}) {
        auto* back = new QAction(field);
        back->setShortcut(Qt::Key_Escape);
        back->setShortcutContext(Qt::WidgetShortcut);
        connect(back, &QAction::triggered, tree_, [this] { tree_->setFocus(Qt::ShortcutFocusReason); });
        field->addAction(back);
    }

    auto* fields = new QGridLayout;
    fields->addWidget(urlLabel_, 0, 0, 1, 2);
    fields->addWidget(menulink_, 1, 0);
    fields->addWidget(selecturl_, 1, 1);
    fields->addWidget(targetLabel_, 2, 0, 1, 2);
    fields->addWidget(linktarget_, 3, 0);
    fields->addWidget(BitBtn1_, 4, 0, 1, 2, Qt::AlignRight);

    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(itemToolBar_);
    boxLayout->addLayout(fields);
    boxLayout->addStretch(1);
    return box;
}

void MenuTreePage::createContextMenu()
{
    popupMenu_ = new QMenu(this);
    popupActions_[PopupAdd] = popupMenu_->addAction(ItemIcon(ItemImage::Add), QStringLiteral("&Hinzufügen"),
                                                    onSelectedNode(&MenuTreePage::Tiadd));
    popupActions_[PopupSubMenu] = popupMenu_->addAction(ItemIcon(ItemImage::SubMenu), QStringLiteral("&Untermenü"),
                                                        onSelectedNode(&MenuTreePage::TiSubMenu));
    popupMenu_->addSeparator();
    popupActions_[PopupRename] =
        popupMenu_->addAction(QStringLiteral("U&mbenennen"), onSelectedNode(&MenuTreePage::TiRen));
    // Same caption as the button beside the link fields, and the same action.
    popupActions_[PopupChangeLink] = popupMenu_->addAction(ItemIcon(ItemImage::Change), QStringLiteral("Ä&ndern"), this,
                                                           &MenuTreePage::BitBtn1Click);
    popupActions_[PopupDelete] = popupMenu_->addAction(ItemIcon(ItemImage::Delete), QStringLiteral("&Löschen"),
                                                       onSelectedNode(&MenuTreePage::TiDelete));
    addEntryKey(PopupAdd, AddKey);
    addEntryKey(PopupRename, RenameKey);
    addEntryKey(PopupDelete, DeleteKey);
}

void MenuTreePage::addEntryKey(PopupEntry entry, const QKeySequence& key)
{
    // A key of the tree only, so that the caption editor and the link fields
    // keep theirs; the menu shows it beside the entry.
    QAction* action = popupActions_[entry];
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    tree_->addAction(action);
}

DragMode MenuTreePage::dragMode() const
{
    return sortMode_->isChecked() ? DragMode::Sort : DragMode::Move;
}

MenuNode* MenuTreePage::selectedNode() const
{
    const QModelIndexList selected = tree_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : MenuTreeModel::nodeOf(selected.front());
}

QRect MenuTreePage::dropMark(const MenuNode* target) const
{
    const MenuNode* dragged = CurrentNode();
    if (dragged == nullptr || target == dragged)
        return {};
    const int width = tree_->viewport()->width();
    if (target != nullptr) {
        const QRect row = tree_->visualRect(model_->indexOf(target));
        // Moved into the item, or sorted in before it.
        return dragMode() == DragMode::Move ? QRect(0, row.top(), width, row.height())
                                            : QRect(row.left(), row.top(), width - row.left(), 0);
    }
    // Empty space: after the last item of the level it goes to, below
    // whatever of that item is open.
    const MenuNode& parent = dragMode() == DragMode::Move ? document_.Tree().Root() : *dragged->Parent();
    if (parent.ChildCount() == 0)
        return {};
    const QModelIndex last = model_->indexOf(parent.Child(parent.ChildCount() - 1));
    QModelIndex bottom = last;
    for (QModelIndex below = tree_->indexBelow(bottom); below.isValid() && IsWithin(below, last);
         below = tree_->indexBelow(below))
        bottom = below;
    const int left = tree_->visualRect(last).left();
    return {left, tree_->visualRect(bottom).bottom() + 1, width - left, 0};
}

MenuNode* MenuTreePage::nodeAt(const QPoint& viewportPoint) const
{
    return MenuTreeModel::nodeOf(tree_->indexAt(viewportPoint));
}

void MenuTreePage::expandRoot()
{
    tree_->expand(model_->indexOf(&document_.Tree().Root()));
}

void MenuTreePage::EnableItemControls(bool enabled)
{
    for (Command command : {SubMenuCommand, RenameCommand, DeleteCommand})
        toolActions_[command]->setEnabled(enabled);
    // So that the keys of the context menu's entries follow the selection.
    for (PopupEntry entry : {PopupSubMenu, PopupRename, PopupChangeLink, PopupDelete})
        popupActions_[entry]->setEnabled(enabled);
    for (QWidget* control :
         std::initializer_list<QWidget*>{BitBtn1_, urlLabel_, targetLabel_, menulink_, linktarget_, selecturl_})
        control->setEnabled(enabled);
    if (!enabled) {
        menulink_->clear();
        linktarget_->clear();
    }
}

void MenuTreePage::TreeView1Change()
{
    ApplyPendingLink();
    ShowSelectedLink();
}

void MenuTreePage::ShowSelectedLink()
{
    const MenuNode* node = selectedNode();
    EnableItemControls(IsItem(node));
    moveKeys_->follow(node);
    linkNode_ = QPersistentModelIndex();
    if (IsItem(node) && node->Item() != nullptr) {
        menulink_->setText(FromCp1252(node->Item()->Link));
        linktarget_->setText(FromCp1252(node->Item()->Target));
        linkNode_ = model_->indexOf(node);
    }
}

void MenuTreePage::SelectNode(const MenuNode& node)
{
    const QModelIndex index = model_->indexOf(&node);
    tree_->scrollTo(index);
    tree_->setCurrentIndex(index);
}

bool MenuTreePage::LinkPending() const
{
    const MenuNode* node = MenuTreeModel::nodeOf(linkNode_);
    if (node == nullptr || node->Item() == nullptr)
        return false;
    return menulink_->text() != FromCp1252(node->Item()->Link) ||
           linktarget_->text() != FromCp1252(node->Item()->Target);
}

void MenuTreePage::ApplyPendingLink()
{
    MenuNode* node = MenuTreeModel::nodeOf(linkNode_);
    if (node == nullptr || node->Item() == nullptr)
        return;
    if (LinkPending())
        editor_.SetLink(*node, menulink_->text(), linktarget_->text());
    ShowSelectedLink(); // as stored, characters outside the code page escaped
}

void MenuTreePage::addHistoryActions(QAction* undo, QAction* redo)
{
    QAction* first = popupMenu_->actions().value(0);
    popupMenu_->insertAction(first, undo);
    popupMenu_->insertAction(first, redo);
    popupMenu_->insertSeparator(first);
}

void MenuTreePage::addWindowAction(QAction* action)
{
    popupMenu_->addSeparator();
    popupMenu_->addAction(action);
}

void MenuTreePage::PopupMenu1Popup()
{
    currentNode_ = model_->indexOf(selectedNode());
    const bool item = IsItem(CurrentNode());
    moveKeys_->follow(CurrentNode());
    for (PopupEntry entry : {PopupSubMenu, PopupRename, PopupChangeLink, PopupDelete})
        popupActions_[entry]->setEnabled(item);
}

void MenuTreePage::showContextMenu(const QPoint& point)
{
    const QModelIndex under = tree_->indexAt(point);
    if (under.isValid())
        tree_->setCurrentIndex(under);
    PopupMenu1Popup();
    popupMenu_->exec(tree_->viewport()->mapToGlobal(point));
}

void MenuTreePage::startEditingNewItem(MenuNode& parent)
{
    const QModelIndex index = model_->indexOf(&editor_.AddItem(parent, NewItemCaption));
    tree_->scrollTo(index);
    tree_->setCurrentIndex(index);
    tree_->edit(index);
}

void MenuTreePage::Tiadd()
{
    MenuNode* current = CurrentNode();
    startEditingNewItem(IsItem(current) ? *current->Parent() : document_.Tree().Root());
}

void MenuTreePage::TiSubMenu()
{
    if (MenuNode* current = CurrentNode(); IsItem(current))
        startEditingNewItem(*current);
}

void MenuTreePage::TiRen()
{
    if (MenuNode* current = CurrentNode(); IsItem(current))
        tree_->edit(model_->indexOf(current));
}

void MenuTreePage::TiDelete()
{
    if (MenuNode* current = CurrentNode(); IsItem(current))
        editor_.DeleteItem(*current);
}

void MenuTreePage::BitBtn1Click()
{
    MenuNode* node = selectedNode();
    if (!IsItem(node) || node->Item() == nullptr)
        return;
    editor_.SetLink(*node, menulink_->text(), linktarget_->text());
}

void MenuTreePage::Button3Click()
{
    const std::string outputFile = outputFileName_ ? ToCp1252(outputFileName_()) : std::string();
    const std::optional<QString> chosen =
        dialogs_.OpenFile(this, QStringLiteral("HTML (*.htm, *.html)|*.htm; *.html|Alle Dateien (*.*)|*.*"),
                          FromCp1252(ExtractFilePath(outputFile)), QString());
    if (!chosen)
        return;
    const std::string path = ToCp1252(*chosen);
    std::string link = outputFile.empty() ? ExtractFileName(path) : MakeRelativePath(ExtractFilePath(outputFile), path);
    ReplaceAll(link, "\\", "/", true);
    menulink_->setText(FromCp1252(link));
}

} // namespace tw
