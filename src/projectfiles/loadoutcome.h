#pragma once

#include <string>

namespace tw {

// How a format's loader ended when it raised no error. A file of a version we
// cannot read loads only what that version shares with ours (often nothing);
// unsupported then tells the user so.
struct LoadOutcome {
    std::string unsupported;

    bool Complete() const { return unsupported.empty(); }
};

} // namespace tw
