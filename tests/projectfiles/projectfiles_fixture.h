#pragma once

#include "document/qzhtml.h"
#include "platform/messages.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tw::test {

// A fresh directory per test, a recording message sink and a document.
class ProjectFilesTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const;
    void WriteBytes(const std::string& name, const std::string& bytes) const;
    std::string ReadBytes(const std::string& name) const;
    std::vector<std::string> DirectoryListing() const;

    // Loads name into document; returns the format number (starting at 1).
    int Load(const std::string& name);

    TemporaryDirectory dir_;
    RecordedMessages sink_;
    TqzHTML document_;
    bool loaded_ = false;
};

// One line per item: indentation by depth, caption|link|target.
std::string DumpTree(const TqzHTML& document);
// Expects every colour, text and file setting of actual to equal expected's.
void ExpectSameSettings(const TqzHTML& actual, const TqzHTML& expected);
// name=value lines of all variables.
std::string DumpVariables(const TqzHTML& document);

// A project with items on levels 1 to 3, texts with line breaks and
// pilcrows, every setting set and three variables.
void FillSampleProject(TqzHTML& document);

} // namespace tw::test
