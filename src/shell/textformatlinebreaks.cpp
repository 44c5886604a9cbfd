#include "shell/textformatlinebreaks.h"

#include "document/qzhtml.h"
#include "guibase/dialogs.h"
#include "guibase/qtcodec.h"
#include "projectfiles/textformat.h"
#include "shell/documenteditor.h"

namespace tw {

bool PrepareLineBreaksForTextFormat(Dialogs& dialogs, QWidget* parent, DocumentEditor& editor)
{
    auto where = FindLineBreakForTextFormat(editor.Document());
    if (!where)
        where = FindMultiLineValue(editor.Document());
    if (!where)
        return true;
    const QString question =
        FromCp1252(*where) +
        QStringLiteral(" enthält einen Zeilenumbruch, den das Textformat nicht speichern kann. Sollen alle "
                       "Zeilenumbrüche in Menüpunkten und Variablen durch Leerzeichen ersetzt werden?");
    if (dialogs.Confirm(parent, question, false) != Answer::Yes)
        return false;
    editor.ReplaceLineBreaksForTextFormat();
    return true;
}

TextFormatTexts TextFormatTexts::Read(TqzHTML& document)
{
    TextFormatTexts texts;
    for (MenuNode* node = document.Tree().Root().NextPreOrder(); node; node = node->NextPreOrder()) {
        const TMTItem* item = node->Item();
        texts.items.push_back(
            {node, node->Caption(), item ? item->Link : std::string(), item ? item->Target : std::string()});
    }
    const TParseList& variables = document.Variables();
    for (std::size_t row = 0; row < variables.Count(); ++row) {
        texts.variableNames.push_back(variables.Caption(row));
        texts.variableValues.push_back(variables.Data(row).Value);
    }
    return texts;
}

void TextFormatTexts::Write(TqzHTML& document) const
{
    MenuTree& tree = document.Tree();
    for (const Item& entry : items) {
        if (entry.node->Caption() != entry.caption)
            tree.SetCaption(*entry.node, entry.caption);
        TMTItem* item = entry.node->Item();
        if (item && (item->Link != entry.link || item->Target != entry.target)) {
            item->Link = entry.link;
            item->Target = entry.target;
            tree.NotifyRecordChanged(*entry.node);
        }
    }
    TParseList& variables = document.Variables();
    for (std::size_t row = 0; row < variableNames.size() && row < variables.Count(); ++row) {
        if (variables.Caption(row) != variableNames[row])
            variables.SetCaption(row, variableNames[row]);
        if (variables.Data(row).Value != variableValues[row]) {
            variables.SetValue(row, variableValues[row]);
            variables.SetDisplayText(row, DisplayTextOf(variableValues[row]));
        }
    }
}

} // namespace tw
