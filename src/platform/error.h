#pragma once

#include <stdexcept>
#include <string>

namespace tw {

// An error raised by core code and reported to the user. The text is
// Windows-1252, like every document string, and is shown unchanged.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& text) : std::runtime_error(text) {}
};

// A text that does not convert to a number ("'%s' is not a valid integer value").
class ConvertError : public Error {
public:
    explicit ConvertError(const std::string& text) : Error(text) {}
};

// Formats a message whose only argument is "%s", the way the messages of
// the program are written ("Fehler beim Erstellen der Datei %s").
std::string FormatMessage(const std::string& pattern, const std::string& argument);

// A value as a message repeats it: cut to at most limit bytes, with "..."
// (the ellipsis character) where it was cut, so that a long value does not
// bury the message.
std::string ShortForMessage(const std::string& value, std::size_t limit = 80);

} // namespace tw
