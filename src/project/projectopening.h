#pragma once

#include <string>

namespace tw {

class MessageSink;
class TqzHTML;

// Marks the variables of the project's template set, or adds them as rows
// (which marks the document modified). A set that is not installed clears
// the marks, as an empty choice in the template list does.
void ApplyProjectTemplate(TqzHTML& document);

// Opens a project as both programs do: loads it, then applies its template
// set's variables whatever the load's outcome, so that the rows the set adds
// are part of the opened project. format starts at binary V1.1 and is set
// to the format found. Errors go to reporter; true when the whole project
// was read.
[[nodiscard]] bool OpenProject(TqzHTML& document, const std::string& path, int& format, MessageSink& reporter);

} // namespace tw
