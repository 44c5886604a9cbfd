#include "generator/substitution.h"

#include "document/ccolor.h"
#include "document/cstring.h"
#include "platform/paths.h"

namespace tw {

void ApplyReplacements(std::string& line, const ReplacementList& replacements)
{
    for (const Replacement& replacement : replacements)
        ReplaceAll(line, replacement.Search, replacement.Text, false);
}

void ApplyReplacements(LineList& lines, const ReplacementList& replacements)
{
    for (std::string& line : lines)
        ApplyReplacements(line, replacements);
}

bool ApplyReplacementsWithin(LineList& lines, const ReplacementList& replacements, std::size_t maxSize)
{
    std::size_t total = 0;
    for (const std::string& line : lines)
        total += line.size();
    if (total > maxSize)
        return false;
    for (std::string& line : lines) {
        for (const Replacement& replacement : replacements) {
            const std::size_t before = line.size();
            // What this line may grow to with the other lines as they are.
            if (!ReplaceAllWithin(line, replacement.Search, replacement.Text, false, maxSize - (total - before)))
                return false;
            total = total - before + line.size();
        }
    }
    return true;
}

DocumentPlaceholders::DocumentPlaceholders(const TqzHTML& document)
{
    for (int index = 1; index <= ColorCount; ++index)
        replacements_.push_back({document.GetColorPlaceholder(index), ColorToText(document.GetColor(index), true)});
    for (int index = 1; index <= StringCount; ++index)
        replacements_.push_back({document.GetStringPlaceholder(index), document.GetString(index)});
    replacements_.push_back({"$FileName$", ExtractFileName(document.GetFileSetting(fsFilename))});
    currentFileIndex_ = replacements_.size();
    replacements_.push_back({"$CurrentFilename$", {}});
    replacements_.push_back({"\r\n\r\n", "\r\n"});
    const TParseList& variables = document.Variables();
    for (std::size_t index = 0; index < variables.Count(); ++index) {
        Replacement variable;
        variables.GetVariable(index, variable.Search, variable.Text);
        variable.Search = "$" + variable.Search + "$";
        replacements_.push_back(std::move(variable));
    }
}

bool DocumentPlaceholders::Apply(LineList& lines, const std::string& currentFileName)
{
    replacements_[currentFileIndex_].Text = currentFileName;
    return ApplyReplacementsWithin(lines, replacements_, MaxGeneratedFileSize);
}

} // namespace tw
