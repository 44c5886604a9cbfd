#pragma once

#include "document/qzhtml.h"
#include "generator/templateset.h"
#include "platform/messages.h"

#include <optional>
#include <string>

namespace tw {

// The form of a template set for writing the menu into a site's pages: the
// [Embed] section of its template.ini (generation never reads it) with the
// Embed_* snippets.
struct EmbedForm {
    TemplateSet set;            // its level entries and the set's folder
    std::string stylesheet;     // the snippet file the stylesheet is made of
    std::string stylesheetName; // the stylesheet's name in the site's root
};

inline constexpr const char* DefaultStylesheetName = "treeweaver-menu.css";
// The first line of the stylesheet tells one of the program from one of the user.
inline constexpr const char* OwnStylesheetLine = "/* treeweaver:stylesheet */";

// Reads the embedded form of the document's template set; empty, after
// telling reporter why, when the set has none or it cannot be used.
std::optional<EmbedForm> LoadEmbedForm(const TqzHTML& document, MessageSink& reporter);

} // namespace tw
