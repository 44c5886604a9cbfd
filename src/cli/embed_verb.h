#pragma once

#include "cli/arguments.h"
#include "cli/message_lines.h"
#include "document/qzhtml.h"

#include <ostream>

namespace tw::cli {

// "embed": writes the menu into the pages of the project's site (or with
// --undo puts back what the last run changed). Pages that would change,
// diffs and pages without markers go to out; every refused page, warning
// and failure to lines. Returns the exit status.
int RunEmbed(const Invocation& invocation, TqzHTML& document, std::ostream& out, MessageLines& lines);

} // namespace tw::cli
