#pragma once

#include <string>

namespace tw {

// Where the core reports problems for the user: loading, saving, generating
// and importing take one from their caller, who decides how it shows (a
// message box in the desktop program, a line on stderr in the command-line
// companion, a record in tests). Texts are Windows-1252.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

} // namespace tw
