#pragma once

#include <QString>

namespace tw {

// What a layout setting that the sets write into a CSS length (the font
// sizes, the submenu's margin) needs, for its row's tooltip and the "Info"
// box; empty for the other settings.
QString LengthNeed(int setting);

// The warning for such a setting's text that is a number without a unit
// ("20"): a browser drops the whole declaration. Empty for any other text,
// also for "0", which needs no unit.
QString MissingUnitWarning(int setting, const QString& text);

} // namespace tw
