#pragma once

#include "document/qzhtml.h"

namespace tw {

// Reads the template set named by the document's "Template" setting into its
// template state. False, after a message, when the set cannot be used.
bool LoadTemplate(TqzHTML& document);

// The level entry that serves items of the given depth: the entry of that
// number, otherwise the default entry. Only after a successful LoadTemplate.
const TLevelItem& LevelFor(const TemplateState& state, int depth);

} // namespace tw
