#pragma once

#include "support/test_support.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tw::cli::test {

using tw::test::ReadBytes;
using tw::test::TemporaryDirectory;

struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built treeweaver-cli with the arguments and collects its exit
// status and both output streams.
ProgramResult RunProgram(const std::vector<std::string>& arguments);

// The lines of a text, without their line ends.
std::vector<std::string> Lines(const std::string& text);

} // namespace tw::cli::test
