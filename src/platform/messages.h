#pragma once

#include <string>

namespace tw {

// Where core code shows a message to the user: a message box in the desktop
// program, a line on stderr in the command-line companion, a record in tests.
// Texts are Windows-1252.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

// Shows a message through the installed sink (without one, on stderr).
void ShowMessage(const std::string& text);

// Installs a sink for the lifetime of this object and restores the previous
// one afterwards.
class ScopedMessageSink {
public:
    explicit ScopedMessageSink(MessageSink& sink);
    ~ScopedMessageSink();
    ScopedMessageSink(const ScopedMessageSink&) = delete;
    ScopedMessageSink& operator=(const ScopedMessageSink&) = delete;

private:
    MessageSink* previous_;
};

} // namespace tw
