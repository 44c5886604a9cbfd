#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tw {

// Captions longer than this many characters are cut: a menu entry is no
// place for a paragraph, and the project formats hold limited texts.
inline constexpr std::size_t MaxImportedCaption = 250;

// Imported text (UTF-8) as a caption: Windows-1252 text as the tree shows
// it and the generator writes it into HTML as it stands. Only a "<" that
// would open a tag and a "&" that would start a character reference are
// escaped ("&lt;", "&amp;"), so imported text stays text; a character
// Windows-1252 cannot hold becomes a character reference ("&#26085;"), as
// typed text does in the window. A text longer than MaxImportedCaption
// characters is cut there and ends with "…"; shortened then tells so.
std::string CaptionOfText(std::string_view utf8, bool* shortened = nullptr);

// Bytes of a name as the file system or an address holds them, as UTF-8:
// unchanged when they are UTF-8, otherwise read as Windows-1252.
std::string Utf8OfName(std::string_view bytes);

// An address or a part of one with its %-escapes decoded, as UTF-8 (see
// Utf8OfName): addresses are written in UTF-8 today, older ones in
// Windows-1252.
std::string DecodedEscapes(std::string_view text);

// The UTF-8 bytes of a text that may have been cut anywhere: an incomplete
// sequence at the very end does not count against it being UTF-8.
bool IsUtf8Head(std::string_view text);

} // namespace tw
