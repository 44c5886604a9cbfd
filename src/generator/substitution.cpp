#include "generator/substitution.h"

#include "document/ccolor.h"
#include "generator/linktext.h"
#include "platform/paths.h"

#include <cstring>

namespace tw {

bool ApplyReplacementsWithin(LineList& lines, const ReplacementList& replacements, std::size_t maxSize)
{
    std::size_t total = 0;
    for (const std::string& line : lines)
        total += line.size();
    if (total > maxSize)
        return false;
    for (std::string& line : lines) {
        for (const TextReplacement& replacement : replacements) {
            const std::size_t before = line.size();
            // What this line may grow to with the other lines as they are.
            if (!replacement.ApplyWithin(line, maxSize - (total - before)))
                return false;
            total = total - before + line.size();
        }
    }
    return true;
}

DocumentPlaceholders::DocumentPlaceholders(const TqzHTML& document)
{
    auto add = [this](std::string search, std::string text) {
        if (!search.empty()) {
            for (const char first : AsciiLowerCase(search.substr(0, 1)) + AsciiUpperCase(search.substr(0, 1))) {
                if (firstBytes_.find(first) == std::string::npos)
                    firstBytes_ += first;
            }
        }
        replacements_.emplace_back(std::move(search), std::move(text), false);
    };
    for (int index = 1; index <= ColorCount; ++index)
        add(document.GetColorPlaceholder(index), ColorToText(document.GetColor(index), true));
    for (int index = 1; index <= StringCount; ++index)
        add(document.GetStringPlaceholder(index), document.GetString(index));
    const std::string mainFile = ExtractFileName(document.GetFileSetting(fsFilename));
    add("$FileName$", mainFile);
    add("$FileNameURL$", LinkOfFileName(mainFile));
    currentFileIndex_ = replacements_.size();
    add("$CurrentFilename$", {});
    add("$CurrentFilenameURL$", {});
    add("$CurrentLinkID$", {});
    add("\r\n\r\n", "\r\n");
    const TParseList& variables = document.Variables();
    for (std::size_t index = 0; index < variables.Count(); ++index) {
        std::string name;
        std::string value;
        variables.GetVariable(index, name, value);
        add("$" + name + "$", std::move(value));
    }
}

void DocumentPlaceholders::SetCurrentFile(const std::string& currentFileName, const std::string& currentLinkID)
{
    replacements_[currentFileIndex_].SetReplacement(currentFileName);
    replacements_[currentFileIndex_ + 1].SetReplacement(LinkOfFileName(currentFileName));
    replacements_[currentFileIndex_ + 2].SetReplacement(currentLinkID);
}

bool DocumentPlaceholders::MayMatch(const std::string& line) const
{
    for (const char first : firstBytes_) {
        if (std::memchr(line.data(), first, line.size()))
            return true;
    }
    return false;
}

bool DocumentPlaceholders::NamesCurrentFile(const std::string& line) const
{
    for (std::size_t index = currentFileIndex_; index < currentFileIndex_ + PerFileCount; ++index) {
        if (replacements_[index].Find(line, 0) != std::string::npos)
            return true;
    }
    return false;
}

bool DocumentPlaceholders::Run(std::string& line, std::size_t first, std::size_t end, std::size_t maxSize) const
{
    for (std::size_t index = first; index < end; ++index) {
        if (!replacements_[index].ApplyWithin(line, maxSize))
            return false;
    }
    return true;
}

bool DocumentPlaceholders::Prepare(const LineList& lines, Fragment& fragment) const
{
    // Cleared, not replaced: a fragment built again and again keeps its room.
    fragment.bytes.clear();
    fragment.textSize = 0;
    fragment.perFile.clear();
    std::size_t waiting = 0; // bytes of the lines kept for each file
    for (const std::string& line : lines) {
        const std::size_t used = fragment.textSize + waiting;
        if (used > MaxGeneratedFileSize || line.size() > MaxGeneratedFileSize - used)
            return false;
        const std::size_t room = MaxGeneratedFileSize - used;
        if (!MayMatch(line)) {
            fragment.bytes += line;
            fragment.textSize += line.size();
        } else {
            scratch_ = line;
            if (!Run(scratch_, 0, currentFileIndex_, room))
                return false;
            if (NamesCurrentFile(scratch_)) {
                fragment.perFile.emplace_back(fragment.bytes.size(), scratch_);
                waiting += scratch_.size();
            } else {
                if (!Run(scratch_, currentFileIndex_ + 1, replacements_.size(), room))
                    return false;
                fragment.bytes += scratch_;
                fragment.textSize += scratch_.size();
            }
        }
        fragment.bytes += "\r\n";
    }
    return true;
}

bool DocumentPlaceholders::AppendTo(std::string& file, std::size_t& textSize, const Fragment& fragment) const
{
    textSize += fragment.textSize;
    if (textSize > MaxGeneratedFileSize)
        return false;
    std::size_t copied = 0;
    for (const auto& [position, line] : fragment.perFile) {
        file.append(fragment.bytes, copied, position - copied);
        copied = position;
        scratch_ = line;
        if (!Run(scratch_, currentFileIndex_, replacements_.size(), MaxGeneratedFileSize - textSize))
            return false;
        textSize += scratch_.size();
        file += scratch_;
    }
    file.append(fragment.bytes, copied);
    return true;
}

} // namespace tw
