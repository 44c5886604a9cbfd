#pragma once

#include <string>

namespace tw {

class MessageSink;
class TqzHTML;

// Project format numbers; also the 1-based file-type index of the save dialog.
enum ProjectFormat { pfBinaryV11 = 1, pfBinaryV10 = 2, pfText = 3 };

// Loads a project: resets the document, probes for the binary header, falls
// back to the text format (and the older one for header-less menu files).
// format is set to the format that was found. Errors go to reporter as
// "<file name>: <text>"; the document then keeps what was read so far. A file
// of an unsupported version is reported as such, loads what that version
// shares with ours and is captioned like a loaded one. Returns true when the
// whole project was read.
bool LoadProject(TqzHTML& document, const std::string& path, int& format, MessageSink& reporter);

// Saves in the given format (1, 2 or 3). Returns false after an error went
// to reporter; previous files are never left half-written.
bool SaveProject(TqzHTML& document, const std::string& path, int format, MessageSink& reporter);

} // namespace tw
