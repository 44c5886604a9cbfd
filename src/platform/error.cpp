#include "platform/error.h"

namespace tw {

std::string FormatMessage(const std::string& pattern, const std::string& argument)
{
    const auto pos = pattern.find("%s");
    if (pos == std::string::npos)
        return pattern;
    return pattern.substr(0, pos) + argument + pattern.substr(pos + 2);
}

} // namespace tw
