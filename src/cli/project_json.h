#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace tw {
class TqzHTML;
}

namespace tw::cli {

// Writes the document as "show" prints it: format number, root caption, the
// item tree, the layout settings under their stored keys in table order, and
// the variables in list order, strings converted to UTF-8. The JSON is laid
// out with two blanks per level, as dump(2) of the JSON library does, but
// written while the tree is walked, and its indentation grows only up to
// 32 levels: deeper levels keep that indentation, so a deeply nested menu
// prints in proportion to its size.
void WriteProjectJson(std::ostream& out, const TqzHTML& document, int format);

// Appends a Windows-1252 text as a JSON string in UTF-8, escaped as the JSON
// library escapes it.
void AppendJsonString(std::string& out, std::string_view cp1252);

} // namespace tw::cli
