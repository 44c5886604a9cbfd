#pragma once

#include <string>
#include <vector>

class QWidget;

namespace tw {

class Dialogs;
class DocumentEditor;
class MenuNode;
class TqzHTML;
struct VariableRow;

// Before a save in the text format: the format keeps one item or variable per
// line, so line breaks in captions, links, targets and variable names cannot
// be stored, and values are joined into one line. Asks whether to replace them by blanks (like the question about
// deep trees); the replacement is a step of the history. True when the
// document can be saved now, false when the user declined and nothing is to
// be saved.
bool PrepareLineBreaksForTextFormat(Dialogs& dialogs, QWidget* parent, DocumentEditor& editor);

// The texts that the replacement may touch, to undo and redo it.
struct TextFormatTexts {
    struct Item {
        MenuNode* node = nullptr;
        std::string caption;
        std::string link;
        std::string target;
        bool operator==(const Item&) const = default;
    };
    std::vector<Item> items;
    std::vector<std::string> variableNames;
    std::vector<std::string> variableValues;
    bool operator==(const TextFormatTexts&) const = default;

    static TextFormatTexts Read(TqzHTML& document);
    void Write(TqzHTML& document) const;
};

} // namespace tw
