#pragma once

#include <string_view>

namespace tw {

// Orders names as people read them: runs of digits compare by their number
// ("Kapitel 2" before "Kapitel 10") and letters without regard to case.
// Names that differ only in case or leading zeros still get a fixed order.
// Texts are Windows-1252.
bool NaturalLess(std::string_view a, std::string_view b);

} // namespace tw
