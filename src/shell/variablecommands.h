#pragma once

#include <QUndoCommand>

#include <cstddef>
#include <string>
#include <vector>

namespace tw {

class TParseList;

// Everything a variable row holds; the display text follows from the value.
struct VariableRow {
    std::string name;
    std::string value;
    bool fromTemplate = false;
    bool operator==(const VariableRow&) const = default;
};

VariableRow ReadVariable(const TParseList& list, std::size_t row);
void WriteVariable(TParseList& list, std::size_t row, const VariableRow& variable);
std::vector<VariableRow> ReadVariables(const TParseList& list);
// Makes the list hold exactly these rows, touching it only when it differs.
void WriteVariables(TParseList& list, const std::vector<VariableRow>& variables);

// A variable row added (insert) or deleted (remove); each is the other's undo.
class VariableRowCommand : public QUndoCommand {
public:
    enum Kind { Insert, Remove };
    VariableRowCommand(const QString& text, TParseList& list, Kind kind, std::size_t row, VariableRow variable);
    void undo() override;
    void redo() override;

private:
    void InsertRow();
    void RemoveRow();

    TParseList& list_;
    Kind kind_;
    std::size_t row_;
    VariableRow variable_;
};

// A variable row moved to another position (drag and drop); rows count after
// the move.
class MoveVariableCommand : public QUndoCommand {
public:
    MoveVariableCommand(const QString& text, TParseList& list, std::size_t from, std::size_t to);
    void undo() override;
    void redo() override;

private:
    TParseList& list_;
    std::size_t from_;
    std::size_t to_;
};

} // namespace tw
