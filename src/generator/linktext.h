#pragma once

#include <string>
#include <string_view>

namespace tw {

// A file name or relative path made into a link: the bytes that would end
// the attribute it is written in, start a query, a fragment or an escape,
// or that addresses cannot carry are percent-encoded; "/" stays. Kept bytes
// are left as they are, so a name in the document's code page stays as the
// user wrote it.
std::string LinkOfFileName(std::string_view name);

// LinkOfFileName for a path that is to be an address as it stands: also
// blanks, ":" (which would make "javascript:x.html" a scheme) and every
// byte beyond ASCII (UTF-8 as the file system holds it) are encoded.
std::string AddressOfPath(std::string_view path);

// An address (UTF-8) as a link: it keeps its scheme, query, fragment and
// escapes; what would end the attribute it is written in, blanks, and every
// byte beyond ASCII are percent-encoded.
std::string LinkOfAddress(std::string_view address);

// Windows-1252 text with every character outside ASCII written as a numeric
// character reference ("\xFC" becomes "&#252;"): it then reads the same in a
// page of any encoding.
std::string WithCharacterReferences(std::string_view text);

} // namespace tw
