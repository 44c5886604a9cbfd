#pragma once

#include "platform/messages.h"

#include <ostream>

namespace tw::cli {

// Writes every message as one UTF-8 line (line breaks inside a message
// become blanks) and counts them, so the exit status can tell whether the
// user was told about a problem.
class MessageLines : public MessageSink {
public:
    explicit MessageLines(std::ostream& stream) : stream_(stream) {}

    void ShowMessage(const std::string& text) override;
    int Count() const { return count_; }

private:
    std::ostream& stream_;
    int count_ = 0;
};

} // namespace tw::cli
