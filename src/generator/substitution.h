#pragma once

#include "document/cstring.h"
#include "document/qzhtml.h"
#include "generator/snippets.h"

#include <string>
#include <utility>
#include <vector>

namespace tw {

// The most a generated file may hold. Values that hold other placeholders
// can multiply with every step of the substitution; a file beyond this size
// is no menu but a runaway expansion, and generation stops.
inline constexpr std::size_t MaxGeneratedFileSize = std::size_t{64} << 20;

using ReplacementList = std::vector<TextReplacement>;

// Runs the replacements in their order over every line, which together may
// hold at most maxSize bytes (line breaks not counted); false as soon as they
// would hold more, the lines then being partly replaced.
bool ApplyReplacementsWithin(LineList& lines, const ReplacementList& replacements, std::size_t maxSize);

// Lines of a file with their document placeholders filled as far as that
// does not depend on the file they go to, so that lines repeated in many
// files are filled once.
struct Fragment {
    std::string bytes;        // the finished lines, each followed by CR LF
    std::size_t textSize = 0; // their bytes without the line breaks
    // Lines that name the current file, each still to be finished, with the
    // place in bytes where it goes.
    std::vector<std::pair<std::size_t, std::string>> perFile;

    bool Empty() const { return bytes.empty(); }
};

// The document placeholders in the order they are filled: colours, texts,
// "$FileName$", "$FileNameURL$", "$CurrentFilename$", "$CurrentFilenameURL$",
// "$CurrentLinkID$", the collapsing of empty lines, then the user variables
// in list order. The URL forms (the names escaped as links, for a main file
// "menu#1.htm") and the current file's link ID are our additions; a set
// without them gets the bytes it always got. Built once per generation.
class DocumentPlaceholders {
public:
    explicit DocumentPlaceholders(const TqzHTML& document);

    // Fills what does not depend on the file. False when the lines would
    // grow beyond MaxGeneratedFileSize.
    bool Prepare(const LineList& lines, Fragment& fragment) const;
    // The name of the file that AppendTo writes to from now on, and the link
    // ID of the item whose submenu it holds (empty for the main file).
    void SetCurrentFile(const std::string& currentFileName, const std::string& currentLinkID = {});
    // Appends a prepared fragment to the bytes of the current file, of which
    // textSize counts the bytes without line breaks. False when the file
    // would grow beyond MaxGeneratedFileSize.
    bool AppendTo(std::string& file, std::size_t& textSize, const Fragment& fragment) const;

private:
    bool MayMatch(const std::string& line) const;
    bool NamesCurrentFile(const std::string& line) const;
    bool Run(std::string& line, std::size_t first, std::size_t end, std::size_t maxSize) const;

    // The placeholders that differ from file to file, from currentFileIndex_ on.
    static constexpr std::size_t PerFileCount = 3;
    ReplacementList replacements_;
    std::size_t currentFileIndex_ = 0;
    // The bytes a search text can start with, in both letter cases, each
    // once: a line without any of them is left as it is. Placeholders all
    // start with "$", so there are few of them.
    std::string firstBytes_;
    mutable std::string scratch_;
};

} // namespace tw
