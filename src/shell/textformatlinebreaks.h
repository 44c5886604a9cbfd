#pragma once

class QWidget;

namespace tw {

class Dialogs;
class TqzHTML;

// Before a save in the text format: the format keeps one item or variable per
// line, so line breaks in captions, links, targets and variable names cannot
// be stored. Asks whether to replace them by blanks (like the question about
// deep trees); true when the document can be saved now, false when the user
// declined and nothing is to be saved.
bool PrepareLineBreaksForTextFormat(Dialogs& dialogs, QWidget* parent, TqzHTML& document);

} // namespace tw
