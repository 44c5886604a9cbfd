#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tw::cli {

enum class Verb { Show, Convert, Generate };

// A parsed command line. Paths are already converted to Windows-1252, the
// form in which the document and the project files take them.
struct Invocation {
    bool help = false;
    bool version = false;
    Verb verb = Verb::Show;
    std::string project;
    std::string out;
    int format = 0;
    std::optional<std::string> templates;
    std::optional<std::string> output;
    // generate: tells on stderr how many files were written and unchanged.
    bool verbose = false;
    // generate: deletes stale submenu files instead of only naming them.
    bool prune = false;
};

// A command line that does not follow the usage. The text is UTF-8.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& text) : std::runtime_error(text) {}
};

// The usage, one line per form, UTF-8.
extern const char* const UsageText;

// Parses the arguments after the program name (UTF-8, as Linux hands them
// over). Throws UsageError.
Invocation ParseArguments(const std::vector<std::string>& arguments);

} // namespace tw::cli
