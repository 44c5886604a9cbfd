#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <ostream>

namespace tw {
class TqzHTML;
}

namespace tw::cli {

// The document as "show" prints it: format number, root caption, the item
// tree, the layout settings under their stored keys in table order, and the
// variables in list order. Strings are converted to UTF-8.
nlohmann::ordered_json ProjectToJson(const TqzHTML& document, int format);

// Writes JSON as dump(2) lays it out, but straight to the stream and with
// the indentation growing only up to maxIndentDepth levels: deeper levels
// keep that indentation, so a deeply nested menu prints in proportion to its
// size.
void WriteIndentedJson(std::ostream& out, const nlohmann::ordered_json& value, std::size_t maxIndentDepth = 32);

} // namespace tw::cli
