#pragma once

#include "support/test_support.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tw::test {

// Lines joined with CR LF after each, as the generator writes them.
std::string CrLfLines(const std::vector<std::string>& lines);

// Points the generator at a directory of template sets for one test.
class TemplatesOverride {
public:
    explicit TemplatesOverride(const std::filesystem::path& directory);
    ~TemplatesOverride();
    TemplatesOverride(const TemplatesOverride&) = delete;
    TemplatesOverride& operator=(const TemplatesOverride&) = delete;
};

} // namespace tw::test
