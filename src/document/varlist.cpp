#include "document/varlist.h"

#include "document/cstring.h"

#include <cassert>

namespace tw {

TParseList::TParseList(std::function<void()> onModified) : onModified_(std::move(onModified)) {}

std::size_t TParseList::InsertRow(std::size_t row)
{
    if (row > rows_.size())
        row = rows_.size();
    for (auto* observer : observers_)
        observer->BeforeInsert(row);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), Row{{}, {}, std::make_unique<TVarListData>()});
    if (onModified_)
        onModified_();
    for (auto* observer : observers_)
        observer->AfterInsert(row);
    return row;
}

void TParseList::DeleteRow(std::size_t row)
{
    assert(row < rows_.size());
    for (auto* observer : observers_)
        observer->BeforeRemove(row);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    if (onModified_)
        onModified_();
    for (auto* observer : observers_)
        observer->AfterRemove(row);
}

void TParseList::SetCaption(std::size_t row, const std::string& caption)
{
    rows_[row].caption = caption;
    NotifyChanged(row);
}

void TParseList::SetDisplayText(std::size_t row, const std::string& text)
{
    rows_[row].displayText = text;
    NotifyChanged(row);
}

void TParseList::SetValue(std::size_t row, const std::string& value)
{
    rows_[row].data->Value = value;
    NotifyChanged(row);
}

void TParseList::SetFromTemplate(std::size_t row, bool fromTemplate)
{
    rows_[row].data->FromTemplate = fromTemplate;
    NotifyChanged(row);
}

void TParseList::NotifyChanged(std::size_t row)
{
    for (auto* observer : observers_)
        observer->RowChanged(row);
}

void TParseList::AddObserver(VarListObserver* observer)
{
    observers_.push_back(observer);
}

void TParseList::RemoveObserver(VarListObserver* observer)
{
    std::erase(observers_, observer);
}

void TParseList::AddVariable(const std::string& name, const std::string& value, bool fromTemplate)
{
    const std::size_t row = InsertRow(rows_.size());
    rows_[row].caption = name;
    rows_[row].data->Value = value;
    rows_[row].displayText = DisplayTextOf(value);
    rows_[row].data->FromTemplate = fromTemplate;
    NotifyChanged(row);
}

void TParseList::Clear()
{
    while (!rows_.empty())
        DeleteRow(rows_.size() - 1);
}

void TParseList::GetVariable(std::size_t index, std::string& name, std::string& value) const
{
    assert(index < rows_.size());
    name = rows_[index].caption;
    value = rows_[index].data->Value;
}

bool TParseList::FindVariable(const std::string& name, int& index) const
{
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (SameTextAscii(rows_[row].caption, name)) {
            index = static_cast<int>(row);
            return true;
        }
    }
    index = -1;
    return false;
}

std::string TParseList::UniqueName(const std::string& baseName) const
{
    int index;
    if (!FindVariable(baseName, index))
        return baseName;
    for (unsigned long number = 2;; ++number) {
        std::string candidate = baseName + std::to_string(number);
        if (!FindVariable(candidate, index))
            return candidate;
    }
}

void TParseList::ApplyTemplateVarList(const std::string& varList)
{
    const std::vector<std::string> pieces = SplitFields(Trim(varList), ',');
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        if (rows_[row].data->FromTemplate)
            SetFromTemplate(row, false);
    }
    for (const std::string& piece : pieces) {
        const std::string name = TrimByLimit(36, Trim(piece));
        if (name.empty())
            continue;
        int index;
        if (FindVariable(name, index))
            SetFromTemplate(static_cast<std::size_t>(index), true);
        else
            AddVariable(name, std::string(), true);
    }
}

std::string FirstLine(const std::string& value)
{
    const std::size_t pos = value.find("\r\n");
    return pos == std::string::npos ? value : value.substr(0, pos);
}

std::string DisplayTextOf(const std::string& value)
{
    return value.empty() ? EmptyValueText : FirstLine(value);
}

std::string StoredForm(const std::string& value)
{
    std::string stored = ReplacedAll(value, "\r", " ", true);
    ReplaceAll(stored, "\n", "", true);
    return stored;
}

std::string EscapePilcrow(const std::string& field)
{
    return ReplacedAll(field, std::string(1, Pilcrow), "&para;", true);
}

std::string UnescapePilcrow(const std::string& field)
{
    return ReplacedAll(field, "&para;", std::string(1, Pilcrow), false);
}

} // namespace tw
