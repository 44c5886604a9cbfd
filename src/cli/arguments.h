#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tw::cli {

enum class Verb { Show, Convert, Generate, Import, Embed, CheckSite };

// A parsed command line. Paths are already converted to Windows-1252, the
// form in which the document and the project files take them.
struct Invocation {
    bool help = false;
    bool version = false;
    Verb verb = Verb::Show;
    std::string project;
    // import: the folder or sitemap read; the project goes to output.
    std::string source;
    std::string out;
    // convert: as given; import: from the project's extension.
    int format = 0;
    std::optional<std::string> templates;
    // import: the template set the new project uses.
    std::optional<std::string> templateName;
    std::optional<std::string> output;
    // generate, import: tells on stderr how many files were written and
    // unchanged, or how many menu items were imported.
    bool verbose = false;
    // generate: deletes stale submenu files instead of only naming them.
    bool prune = false;
    // embed: the site folder (else that of the main output file), what to
    // do, and the pages whose edited blocks are overwritten. checksite: the
    // site folder likewise.
    std::optional<std::string> site;
    bool dryRun = false;
    bool check = false;
    bool fromRoot = false;
    bool insertMarkers = false;
    bool undo = false;
    std::vector<std::string> force;
    // checksite, embed: the address of the site's root for a sitemap.xml,
    // as SitemapBase makes it of what was given.
    std::optional<std::string> sitemap;
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
