#pragma once

#include <string>
#include <string_view>

namespace tw {

// The <title> of a web page as a caption (CaptionOfText: escaped, cut when
// too long, which shortened then tells), whitespace and line breaks
// collapsed to single blanks; empty when the page has none. The page is
// read as a browser reads it: in the encoding it declares, and without a
// declaration as UTF-8 when it is valid UTF-8, else as Windows-1252. html
// may be the head of a longer page, cut anywhere.
std::string PageTitle(std::string_view html, bool* shortened = nullptr);

} // namespace tw
