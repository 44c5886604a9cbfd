#include "platform/error.h"

namespace tw {

std::string FormatMessage(const std::string& pattern, const std::string& argument)
{
    const auto pos = pattern.find("%s");
    if (pos == std::string::npos)
        return pattern;
    return pattern.substr(0, pos) + argument + pattern.substr(pos + 2);
}

std::string ShortForMessage(const std::string& value, std::size_t limit)
{
    if (value.size() <= limit)
        return value;
    return value.substr(0, limit) + "\x85";
}

} // namespace tw
