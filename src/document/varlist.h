#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tw {

// The record of one variable row.
struct TVarListData {
    bool FromTemplate = false;
    std::string Value;
};

// Told about every change of the variable rows, with before/after pairs for
// inserts and removals so a view model can mirror them.
class VarListObserver {
public:
    virtual ~VarListObserver() = default;
    virtual void BeforeInsert(std::size_t /*row*/) {}
    virtual void AfterInsert(std::size_t /*row*/) {}
    virtual void BeforeRemove(std::size_t /*row*/) {}
    virtual void AfterRemove(std::size_t /*row*/) {}
    // Caption, display text or record of a row changed.
    virtual void RowChanged(std::size_t /*row*/) {}
};

// The user variables: one row per variable with caption (the name), display
// text (first line of the value or "(Leer)") and a TVarListData record. A row
// insert creates the record and marks the document modified, a row delete
// releases it and marks modified.
class TParseList {
public:
    // onModified is called whenever a row is inserted or deleted.
    explicit TParseList(std::function<void()> onModified);
    TParseList(const TParseList&) = delete;
    TParseList& operator=(const TParseList&) = delete;

    // --- the variable list operations
    void AddVariable(const std::string& name, const std::string& value, bool fromTemplate);
    void Clear();
    std::size_t Count() const { return rows_.size(); }
    void GetVariable(std::size_t index, std::string& name, std::string& value) const;
    // Case-insensitive (A-Z) exact match; first row from the top wins.
    bool FindVariable(const std::string& name, int& index) const;
    std::string UniqueName(const std::string& baseName) const;
    void ApplyTemplateVarList(const std::string& varList);

    // --- the rows themselves (what the variables page works on)
    // Inserts an empty row with a fresh record at position row (== Count()
    // appends) and returns its index.
    std::size_t InsertRow(std::size_t row);
    void DeleteRow(std::size_t row);
    const std::string& Caption(std::size_t row) const { return rows_[row].caption; }
    const std::string& DisplayText(std::size_t row) const { return rows_[row].displayText; }
    const TVarListData& Data(std::size_t row) const { return *rows_[row].data; }
    void SetCaption(std::size_t row, const std::string& caption);
    void SetDisplayText(std::size_t row, const std::string& text);
    void SetValue(std::size_t row, const std::string& value);
    void SetFromTemplate(std::size_t row, bool fromTemplate);

    void AddObserver(VarListObserver* observer);
    void RemoveObserver(VarListObserver* observer);

private:
    struct Row {
        std::string caption;
        std::string displayText;
        std::unique_ptr<TVarListData> data;
    };
    void NotifyChanged(std::size_t row);

    std::vector<Row> rows_;
    std::function<void()> onModified_;
    std::vector<VarListObserver*> observers_;
};

// Text before the first CR LF pair; the whole value without one.
std::string FirstLine(const std::string& value);
// The text shown in the "Wert" column: FirstLine, or "(Leer)" when empty.
std::string DisplayTextOf(const std::string& value);
inline const char* const EmptyValueText = "(Leer)";

// One-line stored form of a value: CR becomes a blank, LF is removed.
std::string StoredForm(const std::string& value);

// The field separator of the text project files (pilcrow, byte 0xB6) and its
// escape "&para;".
inline constexpr char Pilcrow = '\xB6';
std::string EscapePilcrow(const std::string& field);
std::string UnescapePilcrow(const std::string& field);

} // namespace tw
