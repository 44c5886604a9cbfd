#pragma once

#include "document/qzhtml.h"
#include "platform/messages.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tw::test {

// Collects the messages shown while it is installed.
class RecordedMessages : public MessageSink {
public:
    RecordedMessages() : scope_(*this) {}
    void ShowMessage(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;

private:
    ScopedMessageSink scope_;
};

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

private:
    std::filesystem::path path_;
};

void WriteTextFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadTextFile(const std::filesystem::path& path);
// The names of the files in a directory, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& directory);
// Lines joined with CR LF after each, as the generator writes them.
std::string CrLfLines(const std::vector<std::string>& lines);

// Adds an item with its record below parent.
MenuNode& AddItem(TqzHTML& document, MenuNode& parent, const std::string& caption, const std::string& link = {},
                  const std::string& target = {});

// Points the generator at a directory of template sets for one test.
class TemplatesOverride {
public:
    explicit TemplatesOverride(const std::filesystem::path& directory);
    ~TemplatesOverride();
    TemplatesOverride(const TemplatesOverride&) = delete;
    TemplatesOverride& operator=(const TemplatesOverride&) = delete;
};

} // namespace tw::test
