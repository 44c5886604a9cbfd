#pragma once

#include <filesystem>

namespace tw {

// The directory of the running program file; empty when the system does not
// tell (then relative lookups start from the working directory).
std::filesystem::path ProgramDirectory();

} // namespace tw
