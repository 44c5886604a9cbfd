#include "projectfiles/variablesfiles.h"

#include "document/cstring.h"
#include "document/varlist.h"
#include "platform/files.h"
#include "projectfiles/binaryblocks.h"

namespace tw {

std::string VariablesTextFileBytes(const TParseList& variables)
{
    std::string bytes;
    std::string name;
    std::string value;
    for (std::size_t i = 0; i < variables.Count(); ++i) {
        variables.GetVariable(i, name, value);
        bytes += EscapePilcrow(name);
        bytes += Pilcrow;
        bytes += EscapePilcrow(StoredForm(value));
        bytes += "\r\n";
    }
    return bytes;
}

void LoadVariablesFromTextFile(TParseList& variables, const std::string& path)
{
    for (const std::string& line : SplitLines(ReadFileBytes(path))) {
        if (line.empty())
            continue;
        variables.AddVariable(UnescapePilcrow(NthField(line, Pilcrow, 1)), UnescapePilcrow(NthField(line, Pilcrow, 2)),
                              false);
    }
}

void LoadVariablesFromBinary(TParseList& variables, BlockReader& block)
{
    while (block.HasContent()) {
        std::string name = block.ReadText();
        std::string value = block.ReadText();
        variables.AddVariable(name, value, false);
    }
}

void AppendVariablesBlockContent(const TParseList& variables, bool flattenValues, std::string& out)
{
    std::string name;
    std::string value;
    for (std::size_t i = 0; i < variables.Count(); ++i) {
        variables.GetVariable(i, name, value);
        AppendTextField(out, name, "Variable", name);
        AppendTextField(out, flattenValues ? StoredForm(value) : value, "Variable", name);
    }
}

} // namespace tw
