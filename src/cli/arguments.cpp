#include "cli/arguments.h"

#include "document/cstring.h"
#include "platform/codec.h"
#include "platform/error.h"
#include "projectfiles/projectfiles.h"
#include "siteembed/sitemapxml.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace tw::cli {

const char* const UsageText =
    "Aufruf:\n"
    "  treeweaver-cli show PROJEKT [--templates VERZEICHNIS]\n"
    "  treeweaver-cli convert PROJEKT ZIEL --format 1|2|3 [--templates VERZEICHNIS]\n"
    "  treeweaver-cli generate PROJEKT [--templates VERZEICHNIS] [--output HAUPTDATEI] [--verbose]\n"
    "                          [--prune]\n"
    "  treeweaver-cli import ORDNER|SITEMAP --output PROJEKT [--template VORLAGE] [--templates VERZEICHNIS] "
    "[--verbose]\n"
    "  treeweaver-cli embed PROJEKT [WEBSITE-ORDNER] [--templates VERZEICHNIS] [--dry-run] [--check]\n"
    "                       [--from-root] [--force SEITE]... [--insert-markers] [--undo] [--verbose]\n"
    "                       [--sitemap BASISADRESSE]\n"
    "  treeweaver-cli checksite PROJEKT [WEBSITE-ORDNER] [--templates VERZEICHNIS] [--sitemap BASISADRESSE]\n"
    "  treeweaver-cli -h|--help\n"
    "  treeweaver-cli -v|--version\n";

namespace {

struct VerbRule {
    Verb verb;
    std::size_t positionals;
    // More may follow up to this number.
    std::size_t optionalPositionals;
    // What the positionals are, for the message when their number is wrong.
    const char* positionalText;
    std::vector<std::string> options;
};

const std::map<std::string, VerbRule>& VerbRules()
{
    static const std::map<std::string, VerbRule> rules = {
        {"show", {Verb::Show, 1, 0, "eine Projektdatei.", {"--templates"}}},
        {"convert", {Verb::Convert, 2, 0, "eine Projektdatei und ein Ziel.", {"--format", "--templates"}}},
        {"generate", {Verb::Generate, 1, 0, "eine Projektdatei.", {"--templates", "--output", "--verbose", "--prune"}}},
        {"import",
         {Verb::Import,
          1,
          0,
          "einen Ordner oder eine Sitemap.",
          {"--output", "--template", "--templates", "--verbose"}}},
        {"embed",
         {Verb::Embed,
          1,
          1,
          "eine Projektdatei und optional den Ordner der Website.",
          {"--templates", "--dry-run", "--check", "--from-root", "--force", "--insert-markers", "--undo", "--verbose",
           "--sitemap"}}},
        {"checksite",
         {Verb::CheckSite,
          1,
          1,
          "eine Projektdatei und optional den Ordner der Website.",
          {"--templates", "--sitemap"}}},
    };
    return rules;
}

// Paths become document strings; one that Windows-1252 cannot hold would
// name another file after the conversion, so it is refused.
std::string ToDocumentString(const std::string& utf8)
{
    std::string cp1252 = Utf8ToCp1252(utf8);
    if (Cp1252ToUtf8(cp1252) != utf8) {
        throw UsageError("Der Pfad \"" + utf8 +
                         "\" enth\u00E4lt Zeichen, die sich nicht in Windows-1252 darstellen lassen.");
    }
    return cp1252;
}

int ParseFormat(const std::string& text)
{
    if (text == "1" || text == "2" || text == "3") {
        return text[0] - '0';
    }
    throw UsageError("Ung\u00FCltiges Format \"" + text + "\": erlaubt sind 1, 2 und 3.");
}

// "-" usually means standard output, but a project in the text format is
// three files and a generation writes one file per submenu: neither fits a
// stream, so "-" is refused rather than taken as a file of that name.
const std::string& RealFileName(const std::string& name, const std::string& what)
{
    if (name == "-") {
        throw UsageError("\"-\" als " + what +
                         " ist nicht m\u00F6glich: Die Ausgabe geht immer in Dateien; bitte einen Dateinamen angeben.");
    }
    return name;
}

// The format a new project file is saved in follows its extension, as in
// the window's save dialog.
int FormatOfProjectName(const std::string& name)
{
    const std::string extension = AsciiLowerCase(std::filesystem::path(name).extension().string());
    if (extension == ".twb") {
        return pfBinaryV11;
    }
    if (extension == ".twf") {
        return pfText;
    }
    throw UsageError("Die Projektdatei \"" + name + "\" braucht die Endung .twb oder .twf.");
}

// Options that take no value.
bool IsFlag(const std::string& name)
{
    for (const char* flag :
         {"--verbose", "--prune", "--dry-run", "--check", "--from-root", "--insert-markers", "--undo"}) {
        if (name == flag) {
            return true;
        }
    }
    return false;
}

bool IsHelp(const std::string& argument)
{
    return argument == "--help" || argument == "-h";
}

// The short form as the window's program takes it.
bool IsVersion(const std::string& argument)
{
    return argument == "--version" || argument == "-v";
}

} // namespace

Invocation ParseArguments(const std::vector<std::string>& arguments)
{
    Invocation invocation;
    for (const std::string& argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (IsHelp(argument)) {
            invocation.help = true;
            return invocation;
        }
        if (IsVersion(argument)) {
            invocation.version = true;
            return invocation;
        }
    }
    if (arguments.empty()) {
        throw UsageError("Kein Befehl angegeben.");
    }
    const auto rule = VerbRules().find(arguments[0]);
    if (rule == VerbRules().end()) {
        throw UsageError("Unbekannter Befehl \"" + arguments[0] + "\".");
    }
    invocation.verb = rule->second.verb;

    std::vector<std::string> positionals;
    std::map<std::string, std::string> options;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            positionals.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto& allowed = rule->second.options;
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            throw UsageError("Unbekannte Option \"" + name + "\" f\u00FCr \"" + arguments[0] + "\".");
        }
        if (options.count(name) != 0 && name != "--force") {
            throw UsageError("Option \"" + name + "\" mehrfach angegeben.");
        }
        if (IsFlag(name)) {
            if (equals != std::string::npos) {
                throw UsageError("Option \"" + name + "\" hat keinen Wert.");
            }
            options[name] = {};
            continue;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        if (value.empty()) {
            throw UsageError("Option \"" + name + "\" ohne Wert.");
        }
        if (name == "--force") {
            invocation.force.push_back(ToDocumentString(value));
        }
        options[name] = value;
    }

    if (positionals.size() < rule->second.positionals ||
        positionals.size() > rule->second.positionals + rule->second.optionalPositionals) {
        throw UsageError("\"" + arguments[0] + "\" erwartet " + rule->second.positionalText);
    }
    (invocation.verb == Verb::Import ? invocation.source : invocation.project) = ToDocumentString(positionals[0]);
    if (positionals.size() > 1 && (invocation.verb == Verb::Embed || invocation.verb == Verb::CheckSite)) {
        invocation.site = ToDocumentString(positionals[1]);
    } else if (positionals.size() > 1) {
        invocation.out = ToDocumentString(RealFileName(positionals[1], "Ziel"));
    }
    if (invocation.verb == Verb::Convert) {
        if (options.count("--format") == 0) {
            throw UsageError("\"convert\" verlangt --format 1, 2 oder 3.");
        }
        invocation.format = ParseFormat(options["--format"]);
    }
    if (options.count("--template") != 0) {
        invocation.templateName = ToDocumentString(options["--template"]);
    }
    if (options.count("--templates") != 0) {
        invocation.templates = ToDocumentString(options["--templates"]);
    }
    if (options.count("--sitemap") != 0) {
        try {
            invocation.sitemap = SitemapBase(options["--sitemap"]);
        } catch (const Error& error) {
            throw UsageError(Cp1252ToUtf8(error.what()));
        }
    }
    invocation.verbose = options.count("--verbose") != 0;
    invocation.prune = options.count("--prune") != 0;
    invocation.dryRun = options.count("--dry-run") != 0;
    invocation.check = options.count("--check") != 0;
    invocation.fromRoot = options.count("--from-root") != 0;
    invocation.insertMarkers = options.count("--insert-markers") != 0;
    invocation.undo = options.count("--undo") != 0;
    if (invocation.undo &&
        (invocation.check || invocation.insertMarkers || invocation.fromRoot || invocation.sitemap)) {
        throw UsageError("\"--undo\" nimmt nur den letzten Lauf zur\u00FCck und geht nicht mit --check, "
                         "--insert-markers, --from-root oder --sitemap.");
    }
    if (options.count("--output") != 0) {
        invocation.output = ToDocumentString(RealFileName(options["--output"], "--output"));
    }
    if (invocation.verb == Verb::Import) {
        if (!invocation.output) {
            throw UsageError("\"import\" verlangt --output PROJEKT.");
        }
        invocation.format = FormatOfProjectName(options["--output"]);
    }
    return invocation;
}

} // namespace tw::cli
