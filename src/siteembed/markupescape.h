#pragma once

#include <string>

namespace tw {

// text with "&", '"', "<" and ">" as entities: safe as the text of an
// element and inside a double-quoted attribute, in HTML and XML alike.
std::string EscapedForMarkup(const std::string& text);

// Text that may hold markup (a caption) with each "&" that starts no
// character reference as "&amp;", so that it stays well-formed in XHTML
// pages; references and everything else stay as they are.
std::string WithBareAmpersandsEscaped(const std::string& text);

} // namespace tw
