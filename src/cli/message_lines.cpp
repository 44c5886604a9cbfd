#include "cli/message_lines.h"

#include "platform/codec.h"

namespace tw::cli {

namespace {

std::string OnOneLine(const std::string& text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue; // CR LF counts as one break
        }
        line += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
    }
    return line;
}

} // namespace

void MessageLines::ShowMessage(const std::string& text)
{
    ++count_;
    stream_ << Cp1252ToUtf8(OnOneLine(text)) << '\n' << std::flush;
}

} // namespace tw::cli
