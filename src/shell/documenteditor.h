#pragma once

#include "document/ccolor.h"

#include <QObject>
#include <QUndoStack>

class QWidget;

#include <cstddef>
#include <string>

namespace tw {

class Dialogs;
struct DocumentText;
class MenuNode;
class TqzHTML;
struct VariableRow;

// The one place through which every change the user makes to the document
// passes: each change is a step of the history that can be undone and
// redone. The history's clean state is the document's unmodified state.
class DocumentEditor : public QObject {
    Q_OBJECT
public:
    explicit DocumentEditor(TqzHTML& document, QObject* parent = nullptr);

    TqzHTML& Document() { return document_; }
    QUndoStack& History() { return history_; }

    // An empty history for a document just created or loaded. A document that
    // is modified already (rows a template added) stays so until saved.
    void StartHistory();
    // The document was saved: this is its unmodified state.
    void MarkSaved();
    // The project file no longer holds this document: it counts as unsaved
    // whatever is undone.
    void MarkUnsaved();
    void Undo();
    void Redo();

    // --- the menu tree
    MenuNode& AddItem(MenuNode& parent, const std::string& caption);
    void DeleteItem(MenuNode& node);
    void RenameItem(MenuNode& node, const QString& caption);
    // row as MenuTree::Move counts it: before the node is taken out.
    void MoveItem(MenuNode& node, MenuNode& parent, std::size_t row);
    void SetLink(MenuNode& node, const QString& link, const QString& target);
    // Gives node's target to every item below it, or to every item of the
    // menu, as one step.
    void SpreadTarget(MenuNode& node, bool everyItem);

    // --- the variables
    void AddVariable(const std::string& name);
    void ChangeVariable(std::size_t row, const QString& name, const QString& value);
    void DeleteVariable(std::size_t row);
    // Moves a row to position to, counted after the move.
    void MoveVariable(std::size_t from, std::size_t to);
    // Selects a template set: its name and the variables it marks or adds.
    void ApplyTemplate(const QString& name);

    // --- the settings
    void SetColor(int index, TColor color);
    void SetString(int index, const QString& value);
    // Typing into a file-setting field is one step.
    void SetFileSetting(int index, const QString& value);

    // --- before a save in the text format
    // Asks about line breaks the text format cannot keep; false when the
    // user declined.
    bool PrepareForTextFormat(Dialogs& dialogs, QWidget* parent);
    // Replaces them by blanks, as one step.
    void ReplaceLineBreaksForTextFormat();

signals:
    // An undo or redo changed the document behind the views' backs; item is
    // the menu item the step concerns, or null.
    void stepped(tw::MenuNode* item);
    // Anything in the document changed: an edit, an undo or redo, or a
    // document just created or loaded.
    void changed();
    // Typed characters that Windows-1252 cannot hold were written as
    // character references or percent-encoding; sent after the step.
    void charactersEscaped();

private:
    void Push(QUndoCommand* command);
    void SyncModified();
    // The bytes of typed text for the document; notes whether characters
    // had to be escaped, for charactersEscaped after the step.
    std::string Noted(DocumentText text);

    TqzHTML& document_;
    QUndoStack history_;
    bool escaped_ = false;
};

} // namespace tw
