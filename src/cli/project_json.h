#pragma once

#include <nlohmann/json.hpp>

namespace tw {
class TqzHTML;
}

namespace tw::cli {

// The document as "show" prints it: format number, root caption, the item
// tree, the layout settings under their stored keys in table order, and the
// variables in list order. Strings are converted to UTF-8.
nlohmann::ordered_json ProjectToJson(const TqzHTML& document, int format);

} // namespace tw::cli
