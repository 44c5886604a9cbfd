#pragma once

#include <string>

namespace tw {

// Reasons that are no errno value, as German sentences without the final
// full stop.
extern const char* const NoRegularFileReason;
extern const char* const IsDirectoryReason;
extern const char* const ReadOnlyFileReason;
extern const char* const TooManyLinksReason;
extern const char* const SymbolicLinkReason;

// The reason for a failed file operation as a German sentence without the
// final full stop ("Der Datenträger ist voll"), from an errno value.
std::string FileErrorReason(int errorNumber);

// A message text followed by its reason: "text: Reason." or, when the text
// already ends in a full stop, "text Reason.".
std::string WithReason(const std::string& text, const std::string& reason);

// Throws tw::Error with pattern ("%s" becomes path) and the reason.
[[noreturn]] void ThrowFileError(const std::string& pattern, const std::string& path, const std::string& reason);

} // namespace tw
