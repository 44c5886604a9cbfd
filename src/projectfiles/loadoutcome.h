#pragma once

namespace tw {

// How a format's loader ended when it raised no error. A file of a version we
// cannot read loads only what that version shares with ours (often nothing);
// the loader has told the user so.
enum class LoadOutcome { Complete, UnsupportedVersion };

} // namespace tw
