#pragma once

#include "platform/messages.h"

#include <string>

// Keeps the last message the core reported, for a benchmark to skip with.
class LastMessage : public tw::MessageSink {
public:
    void ShowMessage(const std::string& text) override { last = text; }
    std::string last;
};
