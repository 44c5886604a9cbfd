#include "platform/messages.h"

#include "platform/codec.h"

#include <cstdio>

namespace tw {
namespace {

MessageSink* g_sink = nullptr;

} // namespace

void ShowMessage(const std::string& text)
{
    if (g_sink) {
        g_sink->ShowMessage(text);
        return;
    }
    const std::string line = Cp1252ToUtf8(text) + "\n";
    std::fputs(line.c_str(), stderr);
}

ScopedMessageSink::ScopedMessageSink(MessageSink& sink) : previous_(g_sink)
{
    g_sink = &sink;
}

ScopedMessageSink::~ScopedMessageSink()
{
    g_sink = previous_;
}

} // namespace tw
