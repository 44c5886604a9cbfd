#pragma once

#include "cli_fixture.h"

#include <string>

namespace tw::cli::test {

// A text project "Menü.twf" (with its ".tws" and ".twv") in dir: two top-level
// items, the second with one sub-item, umlauts in captions, settings and
// variables, colours written as a lower-case name, "$" hex and decimal, no
// "hr" key, and the given template name.
std::filesystem::path WriteSampleProject(const TemporaryDirectory& dir, const std::string& templateName = "blau");

// A template set "Blau" under dir/templates whose VarList names one variable
// of the sample project and one new one, with snippets for the top level.
std::filesystem::path WriteSampleTemplates(const TemporaryDirectory& dir);

} // namespace tw::cli::test
