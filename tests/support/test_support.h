#pragma once

#include "document/qzhtml.h"
#include "platform/messages.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tw::test {

// Writes bytes to a file, creating its directories.
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
std::string ReadBytes(const std::filesystem::path& path);
// A link as the path it names: %-escapes decoded, bytes as they are.
std::filesystem::path PercentDecoded(const std::string& link);
// The names of the entries of a directory, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& directory);

// A fresh directory that is removed with everything in it afterwards.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The path of a name inside, as a document string.
    std::string operator/(const std::string& name) const;
    // Writes bytes to a file below the directory and returns its path.
    std::filesystem::path Write(const std::string& relativePath, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// Collects the messages reported to it.
class RecordedMessages : public MessageSink {
public:
    void ShowMessage(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

// Adds an item with its record as the last child of parent.
MenuNode& AddItem(TqzHTML& document, MenuNode& parent, const std::string& caption, const std::string& link = {},
                  const std::string& target = {});

} // namespace tw::test
