#pragma once

#include "projectfiles/loadoutcome.h"

#include <string>
#include <string_view>

namespace tw {

class TqzHTML;

// True when the bytes start with the binary header: length byte 3 and "TWB".
bool IsBinaryProject(std::string_view bytes);

// Reads a binary project into a freshly reset document and sets format to 1
// (V1.1) or 2 (V1.0). Any byte sequence is read as far as it goes; only a
// colour text that does not convert throws. An unsupported version reads
// nothing, leaves format as it was and is named in the outcome.
LoadOutcome LoadBinaryProject(TqzHTML& document, std::string_view bytes, int& format);

// The file's bytes for format 1 (V1.1) or 2 (V1.0). Throws tw::Error when the
// project does not fit the format (a text over 65535 bytes, more than 256 levels).
std::string BinaryProjectBytes(const TqzHTML& document, int format);

} // namespace tw
