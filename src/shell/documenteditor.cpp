#include "shell/documenteditor.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/documenttext.h"
#include "guibase/qtcodec.h"
#include "projectfiles/textformat.h"
#include "shell/changevaluecommand.h"
#include "shell/textformatlinebreaks.h"
#include "shell/treecommands.h"
#include "shell/variablecommands.h"

#include <functional>
#include <utility>
#include <vector>

namespace tw {
namespace {

// Steps that merge when they follow each other: typing into one file-setting
// field. The index is added.
constexpr int FileSettingMergeId = 100;

QString Named(const char* action, const std::string& name)
{
    return QString::fromUtf8(action) + QStringLiteral(" „") + FromCp1252(name) + QStringLiteral("“");
}

QString FileSettingName(int index)
{
    return index == fsFilename ? QStringLiteral("Dateiname") : QStringLiteral("Dateiendung");
}

} // namespace

DocumentEditor::DocumentEditor(TqzHTML& document, QObject* parent) : QObject(parent), document_(document)
{
    connect(&history_, &QUndoStack::indexChanged, this, &DocumentEditor::SyncModified);
    connect(&history_, &QUndoStack::cleanChanged, this, &DocumentEditor::SyncModified);
}

void DocumentEditor::StartHistory()
{
    const bool modified = document_.Modified();
    history_.clear();
    if (modified)
        history_.resetClean();
    emit changed();
}

void DocumentEditor::MarkSaved()
{
    history_.setClean();
}

void DocumentEditor::MarkUnsaved()
{
    history_.resetClean();
}

void DocumentEditor::SyncModified()
{
    if (document_.Modified() != !history_.isClean())
        document_.SetModified(!history_.isClean());
}

void DocumentEditor::Undo()
{
    if (!history_.canUndo())
        return;
    const auto* step = dynamic_cast<const ItemStep*>(history_.command(history_.index() - 1));
    history_.undo();
    emit stepped(step ? step->ItemToShow(true) : nullptr);
    emit changed();
}

void DocumentEditor::Redo()
{
    if (!history_.canRedo())
        return;
    const auto* step = dynamic_cast<const ItemStep*>(history_.command(history_.index()));
    history_.redo();
    emit stepped(step ? step->ItemToShow(false) : nullptr);
    emit changed();
}

void DocumentEditor::Push(QUndoCommand* command)
{
    history_.push(command);
    // The setters mark the document modified even when the history came back
    // to its clean state through merging; the history decides.
    SyncModified();
    emit changed();
    if (std::exchange(escaped_, false))
        emit charactersEscaped();
}

std::string DocumentEditor::Noted(DocumentText text)
{
    escaped_ = escaped_ || text.escaped;
    return std::move(text.bytes);
}

MenuNode& DocumentEditor::AddItem(MenuNode& parent, const std::string& caption)
{
    auto* command = new InsertNodeCommand(Named("Hinzufügen von", caption), document_,
                                          NodePlace{&parent, parent.ChildCount()}, caption);
    Push(command);
    return *command->Node();
}

void DocumentEditor::DeleteItem(MenuNode& node)
{
    Push(new RemoveNodeCommand(Named("Löschen von", node.Caption()), document_.Tree(), node));
}

void DocumentEditor::RenameItem(MenuNode& node, const QString& caption)
{
    MenuTree& tree = document_.Tree();
    Push(new ChangeItemValueCommand<std::string>(
        Named("Umbenennen von", node.Caption()), node,
        [&tree, &node](const std::string& text) { tree.SetCaption(node, text); }, node.Caption(),
        Noted(EncodeText(caption))));
}

void DocumentEditor::MoveItem(MenuNode& node, MenuNode& parent, std::size_t row)
{
    const bool later = node.Parent() == &parent && node.Row() < row;
    const NodePlace to{&parent, later ? row - 1 : row};
    if (to.parent == node.Parent() && to.row == node.Row())
        return; // already there
    Push(new MoveNodeCommand(Named("Verschieben von", node.Caption()), document_.Tree(), node, to));
}

void DocumentEditor::SetLink(MenuNode& node, const QString& link, const QString& target)
{
    using Link = std::pair<std::string, std::string>;
    MenuTree& tree = document_.Tree();
    TMTItem& item = *node.Item();
    Push(new ChangeItemValueCommand<Link>(
        Named("Ändern des Links von", node.Caption()), node,
        [&tree, &node, &item](const Link& value) {
            item.Link = value.first;
            item.Target = value.second;
            tree.NotifyRecordChanged(node);
        },
        Link{item.Link, item.Target}, Link{Noted(EncodeLink(link)), Noted(EncodeText(target))}));
}

void DocumentEditor::SpreadTarget(MenuNode& node, bool everyItem)
{
    using Targets = std::vector<std::string>;
    std::vector<MenuNode*> items;
    const std::function<void(MenuNode&)> collect = [&](MenuNode& parent) {
        for (std::size_t row = 0; row < parent.ChildCount(); ++row) {
            MenuNode& child = *parent.Child(row);
            if (child.Item() && &child != &node)
                items.push_back(&child);
            collect(child);
        }
    };
    collect(everyItem ? document_.Tree().Root() : node);
    Targets old;
    for (const MenuNode* item : items)
        old.push_back(item->Item()->Target);
    // Deleted items are kept by their steps, so the nodes stay valid.
    MenuTree& tree = document_.Tree();
    Push(new ChangeValueCommand<Targets>(
        Named("Weitergeben des Ziels von", node.Caption()),
        [&tree, items](const Targets& targets) {
            for (std::size_t index = 0; index < items.size(); ++index) {
                items[index]->Item()->Target = targets[index];
                tree.NotifyRecordChanged(*items[index]);
            }
        },
        old, Targets(items.size(), node.Item()->Target)));
}

void DocumentEditor::AddVariable(const std::string& name)
{
    TParseList& list = document_.Variables();
    Push(new VariableRowCommand(Named("Hinzufügen von", name), list, VariableRowCommand::Insert, list.Count(),
                                VariableRow{name, {}, false}));
}

void DocumentEditor::ChangeVariable(std::size_t row, const QString& name, const QString& value)
{
    TParseList& list = document_.Variables();
    const VariableRow old = ReadVariable(list, row);
    Push(new ChangeValueCommand<VariableRow>(
        Named("Ändern von", old.name),
        [&list, row](const VariableRow& variable) { WriteVariable(list, row, variable); }, old,
        VariableRow{Noted(EncodeText(name)), Noted(EncodeText(value)), old.fromTemplate}));
}

void DocumentEditor::DeleteVariable(std::size_t row)
{
    TParseList& list = document_.Variables();
    const VariableRow variable = ReadVariable(list, row);
    Push(new VariableRowCommand(Named("Löschen von", variable.name), list, VariableRowCommand::Remove, row, variable));
}

void DocumentEditor::MoveVariable(std::size_t from, std::size_t to)
{
    TParseList& list = document_.Variables();
    if (from == to)
        return;
    Push(new MoveVariableCommand(Named("Verschieben von", list.Caption(from)), list, from, to));
}

void DocumentEditor::ApplyTemplate(const QString& name)
{
    // The template's variable list is applied once to learn its effect; the
    // step then carries the list before and after.
    TParseList& list = document_.Variables();
    const std::vector<VariableRow> before = ReadVariables(list);
    LoadTemplateVarList(document_, ToCp1252(name));
    const std::vector<VariableRow> after = ReadVariables(list);

    history_.beginMacro(Named("Auswahl der Vorlage", ToCp1252(name)));
    history_.push(new ChangeValueCommand<std::vector<VariableRow>>(
        QString(), [&list](const std::vector<VariableRow>& rows) { WriteVariables(list, rows); }, before, after));
    history_.push(new ChangeValueCommand<std::string>(
        QString(), [this](const std::string& value) { document_.SetFileSetting(fsTemplate, value); },
        document_.GetFileSetting(fsTemplate), ToCp1252(name)));
    history_.endMacro();
    SyncModified();
    emit changed();
}

void DocumentEditor::SetColor(int index, TColor color)
{
    Push(new ChangeValueCommand<TColor>(
        Named("Ändern von", document_.GetColorPlaceholder(index)),
        [this, index](const TColor& value) { document_.SetColor(index, value); }, document_.GetColor(index), color));
}

void DocumentEditor::SetString(int index, const QString& value)
{
    Push(new ChangeValueCommand<std::string>(
        Named("Ändern von", document_.GetStringPlaceholder(index)),
        [this, index](const std::string& text) { document_.SetString(index, text); }, document_.GetString(index),
        Noted(EncodeText(value))));
}

void DocumentEditor::SetFileSetting(int index, const QString& value)
{
    Push(new ChangeValueCommand<std::string>(
        Named("Ändern von", ToCp1252(FileSettingName(index))),
        [this, index](const std::string& text) { document_.SetFileSetting(index, text); },
        document_.GetFileSetting(index), ToCp1252(value), FileSettingMergeId + index));
}

bool DocumentEditor::PrepareForTextFormat(Dialogs& dialogs, QWidget* parent)
{
    return PrepareLineBreaksForTextFormat(dialogs, parent, *this);
}

void DocumentEditor::ReplaceLineBreaksForTextFormat()
{
    const TextFormatTexts before = TextFormatTexts::Read(document_);
    tw::ReplaceLineBreaksForTextFormat(document_);
    const TextFormatTexts after = TextFormatTexts::Read(document_);
    Push(new ChangeValueCommand<TextFormatTexts>(
        QStringLiteral("Zeilenumbrüche ersetzen"), [this](const TextFormatTexts& texts) { texts.Write(document_); },
        before, after));
}

} // namespace tw
