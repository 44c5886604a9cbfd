#pragma once

#include <string>
#include <string_view>

namespace tw {

// The encoding of a page as a list shows it: the charset it declares
// (a byte order mark first), else what its bytes suggest, marked as such.
std::string PageEncoding(std::string_view bytes);

} // namespace tw
