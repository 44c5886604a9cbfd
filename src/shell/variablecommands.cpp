#include "shell/variablecommands.h"

#include "document/varlist.h"

namespace tw {

VariableRow ReadVariable(const TParseList& list, std::size_t row)
{
    return {list.Caption(row), list.Data(row).Value, list.Data(row).FromTemplate};
}

void WriteVariable(TParseList& list, std::size_t row, const VariableRow& variable)
{
    list.SetCaption(row, variable.name);
    list.SetValue(row, variable.value);
    list.SetDisplayText(row, DisplayTextOf(variable.value));
    list.SetFromTemplate(row, variable.fromTemplate);
}

std::vector<VariableRow> ReadVariables(const TParseList& list)
{
    std::vector<VariableRow> variables;
    for (std::size_t row = 0; row < list.Count(); ++row)
        variables.push_back(ReadVariable(list, row));
    return variables;
}

void WriteVariables(TParseList& list, const std::vector<VariableRow>& variables)
{
    if (ReadVariables(list) == variables)
        return;
    list.Clear();
    for (const VariableRow& variable : variables)
        list.AddVariable(variable.name, variable.value, variable.fromTemplate);
}

VariableRowCommand::VariableRowCommand(const QString& text, TParseList& list, Kind kind, std::size_t row,
                                       VariableRow variable)
    : QUndoCommand(text), list_(list), kind_(kind), row_(row), variable_(std::move(variable))
{
}

void VariableRowCommand::redo()
{
    kind_ == Insert ? InsertRow() : RemoveRow();
}

void VariableRowCommand::undo()
{
    kind_ == Insert ? RemoveRow() : InsertRow();
}

void VariableRowCommand::InsertRow()
{
    WriteVariable(list_, list_.InsertRow(row_), variable_);
}

void VariableRowCommand::RemoveRow()
{
    variable_ = ReadVariable(list_, row_);
    list_.DeleteRow(row_);
}

namespace {

void MoveVariable(TParseList& list, std::size_t from, std::size_t to)
{
    const VariableRow variable = ReadVariable(list, from);
    list.DeleteRow(from);
    WriteVariable(list, list.InsertRow(to), variable);
}

} // namespace

MoveVariableCommand::MoveVariableCommand(const QString& text, TParseList& list, std::size_t from, std::size_t to)
    : QUndoCommand(text), list_(list), from_(from), to_(to)
{
}

void MoveVariableCommand::redo()
{
    MoveVariable(list_, from_, to_);
}

void MoveVariableCommand::undo()
{
    MoveVariable(list_, to_, from_);
}

} // namespace tw
