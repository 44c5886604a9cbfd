#pragma once

#include "platform/messages.h"

#include <ostream>
#include <string>

namespace tw::cli {

// A UTF-8 text as it may reach a terminal: control characters (C0, DEL and
// C1), which could move the cursor or change colours, are written as \x1B
// or \u009B instead.
std::string EscapeControlCharacters(const std::string& utf8);

// Writes every message as one UTF-8 line (line breaks inside a message
// become blanks).
class MessageLines : public MessageSink {
public:
    explicit MessageLines(std::ostream& stream) : stream_(stream) {}

    void ShowMessage(const std::string& text) override;
    // A line that reports what was done or found, not a problem: written
    // like a message.
    void ShowNote(const std::string& text);

private:
    std::ostream& stream_;
};

} // namespace tw::cli
