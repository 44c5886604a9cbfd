#pragma once

#include <QString>

#include <string>

namespace tw {

// Typed text in the document's code page. A character that Windows-1252
// cannot hold becomes an HTML character reference ("&#128512;"), which every
// browser shows as the character; in a link it becomes percent-encoded UTF-8
// instead, as addresses expect. escaped tells whether that happened.
struct DocumentText {
    std::string bytes;
    bool escaped = false;
};
DocumentText EncodeText(const QString& text);
DocumentText EncodeLink(const QString& text);

// Document text as the window shows it: the character references that
// EncodeText writes for characters outside the code page are shown as those
// characters again, so that editing it stores the same bytes. Any other
// text, references the user typed included, is shown as it is.
QString DocumentTextToShow(const std::string& text);

} // namespace tw
