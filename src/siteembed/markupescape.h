#pragma once

#include <string>

namespace tw {

// text with "&", '"', "<" and ">" as entities: safe as the text of an
// element and inside a double-quoted attribute, in HTML and XML alike.
std::string EscapedForMarkup(const std::string& text);

} // namespace tw
