#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tw::cli {

// Exit statuses of the companion.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// Runs one command line (the arguments after the program name, UTF-8): the
// JSON of "show" and the help go to out, every message and usage error to
// err, one line each. Returns the exit status.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace tw::cli
